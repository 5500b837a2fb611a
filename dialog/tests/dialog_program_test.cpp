// The real vellicor program, started once on the offscreen platform: it comes
// up, waits for its user, and ends when asked to close.
#include <QProcess>
#include <QtTest>

#include "tests/support/temp_dir.hpp"

class DialogProgramTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void startsWaitsAndCloses();
};

void DialogProgramTest::startsWaitsAndCloses() {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  program.setProcessEnvironment(environment);
  program.start(QString::fromStdString((vellicor::test::binary_dir() / "vellicor").string()), {});
  QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
  // A program that cannot make its window (no platform plugin, a missing
  // resource that aborts) ends by itself at once; this one stays open.
  QVERIFY2(!program.waitForFinished(1000), program.readAllStandardError().constData());
  QCOMPARE(program.state(), QProcess::Running);
  const QByteArray errors = program.readAllStandardError();
  QVERIFY2(!errors.contains("qt.qpa.plugin") && !errors.contains("Could not"), errors.constData());

  // On Windows this closes the window; elsewhere it sends SIGTERM.
  program.terminate();
  QVERIFY(program.waitForFinished(10000));
  QCOMPARE(program.state(), QProcess::NotRunning);
}

QTEST_MAIN(DialogProgramTest)
#include "dialog_program_test.moc"
