// The dialog's field provider and the other three callbacks, answered from the
// controls of a real main dialog.
#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>
#include <vector>

#include "dialog/host_provider.hpp"
#include "dialog/main_dialog.hpp"

using namespace vellicor;
using namespace vellicor::dialog;

namespace {

constexpr char kFill = '\x5A';  // what the buffer holds before the call

// Asks for field id with a buffer of size bytes (plus two spare bytes that
// must stay untouched); returns the result and the whole buffer.
std::pair<int, QByteArray> ask(MainDialog& dialog, int id, std::uint32_t size) {
  std::vector<char> buffer(size + 2, kFill);
  const FieldAnswer result = window_host_callbacks().get_field(
      static_cast<HostWindow*>(&dialog), static_cast<FieldId>(id), buffer.data(), size);
  return {to_int(result), QByteArray(buffer.data(), static_cast<qsizetype>(buffer.size()))};
}

// size bytes of text padded with zero bytes, then the two untouched spare bytes.
QByteArray answered(const QByteArray& text, std::uint32_t size) {
  QByteArray expected = text;
  expected.resize(size, '\0');
  return expected + QByteArray(2, kFill);
}

void set_text(MainDialog& dialog, int id, const QString& text) {
  qobject_cast<QLineEdit*>(dialog.control(id))->setText(text);
}

}  // namespace

class FieldProviderTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void everyEditAnswersItsTextOrUnavailable_data();
  void everyEditAnswersItsTextOrUnavailable();
  void bufferSizeLimitsTheAnswer_data();
  void bufferSizeLimitsTheAnswer();
  void checkBoxAnswersOneOrZero();
  void unknownIdentifierAnswersUnknownField();
  void nullContextOrBufferIsRefused();
  void emptyOrNullMessageShowsNothing();
  void waitCursorIsCounted();
};

void FieldProviderTest::everyEditAnswersItsTextOrUnavailable_data() {
  QTest::addColumn<int>("id");
  for (int id : {1000, 1002, 1003, 1004, 1005, 1006, 1007, 1010, 1011, 1012}) {
    QTest::newRow(qPrintable(QString::number(id))) << id;
  }
}

void FieldProviderTest::everyEditAnswersItsTextOrUnavailable() {
  QFETCH(int, id);
  MainDialog dialog;
  // Empty: -10 with the buffer cleared to zero bytes.
  QCOMPARE(ask(dialog, id, 260), std::make_pair(-10, answered("", 260)));
  const QByteArray text = "field " + QByteArray::number(id);
  set_text(dialog, id, QString::fromLatin1(text));
  QCOMPARE(ask(dialog, id, 260), std::make_pair(0, answered(text, 260)));
}

void FieldProviderTest::bufferSizeLimitsTheAnswer_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<uint>("size");
  QTest::addColumn<int>("result");
  QTest::addColumn<QByteArray>("buffer");  // the whole buffer afterwards, spare bytes included
  const QByteArray untouched(3, kFill);
  QTest::newRow("size 0 untouched") << "Sample" << 0u << -2 << QByteArray(2, kFill);
  QTest::newRow("size 1 untouched") << "Sample" << 1u << -2 << untouched;
  // A text that does not fit is answered -15, with as much as fits written.
  QTest::newRow("size 2 one character") << "Sample" << 2u << -15 << answered("S", 2);
  QTest::newRow("exact fit") << "Sample" << 7u << 0 << answered("Sample", 7);
  QTest::newRow("300 characters") << QString(300, QLatin1Char('p')) << 260u << -15
                                  << answered(QByteArray(259, 'p'), 260);
  // "é" takes two bytes: a character that does not fit whole is left out.
  QTest::newRow("no half character") << "a\u00e9\u00e9" << 5u << -15 << answered("a\xc3\xa9", 5);
  QTest::newRow("nothing fits") << "\u00e9" << 2u << -15 << answered("", 2);
}

void FieldProviderTest::bufferSizeLimitsTheAnswer() {
  QFETCH(QString, text);
  QFETCH(uint, size);
  QFETCH(int, result);
  QFETCH(QByteArray, buffer);
  MainDialog dialog;
  set_text(dialog, FieldFontName, text);
  QCOMPARE(ask(dialog, FieldFontName, size), std::make_pair(result, buffer));
}

void FieldProviderTest::checkBoxAnswersOneOrZero() {
  MainDialog dialog;
  QCOMPARE(ask(dialog, FieldFixedWidth, 260), std::make_pair(0, answered("0", 260)));
  qobject_cast<QCheckBox*>(dialog.control(FieldFixedWidth))->setChecked(true);
  QCOMPARE(ask(dialog, FieldFixedWidth, 260), std::make_pair(0, answered("1", 260)));
}

void FieldProviderTest::unknownIdentifierAnswersUnknownField() {
  MainDialog dialog;
  // Buttons and the picture are no fields, whatever their identifiers.
  for (int id : {1001, 1008, 1013, 1014, 1015, 1029, 999, 2, 0, -1}) {
    QCOMPARE(ask(dialog, id, 260), std::make_pair(-14, answered("", 260)));
  }
}

void FieldProviderTest::nullContextOrBufferIsRefused() {
  MainDialog dialog;
  set_text(dialog, FieldInputPath, QStringLiteral("strip.bmp"));
  char buffer[4] = {'x', 'y', 'z', 'w'};
  QCOMPARE(to_int(provide_field(nullptr, FieldInputPath, buffer, 4)), -2);
  QCOMPARE(buffer[0], 'x');
  QCOMPARE(to_int(provide_field(static_cast<HostWindow*>(&dialog), FieldInputPath, nullptr, 4)),
           -2);
}

void FieldProviderTest::emptyOrNullMessageShowsNothing() {
  MainDialog dialog;
  QStringList shown;
  dialog.set_message_presenter([&](QWidget* owner, const QString& text) {
    QCOMPARE(owner, &dialog);
    shown << text;
  });
  const HostCallbacks& callbacks = window_host_callbacks();
  callbacks.report_message(static_cast<HostWindow*>(&dialog), nullptr);
  callbacks.report_message(static_cast<HostWindow*>(&dialog), "");
  QVERIFY(shown.isEmpty());
  callbacks.report_message(static_cast<HostWindow*>(&dialog), "Bad input file name");
  QCOMPARE(shown, QStringList{QStringLiteral("Bad input file name")});
}

void FieldProviderTest::waitCursorIsCounted() {
  MainDialog dialog;
  const HostCallbacks& callbacks = window_host_callbacks();
  void* context = static_cast<HostWindow*>(&dialog);
  QVERIFY(QApplication::overrideCursor() == nullptr);
  callbacks.begin_busy(context);
  callbacks.begin_busy(context);
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  callbacks.end_busy(context);
  QVERIFY(QApplication::overrideCursor() != nullptr);
  callbacks.end_busy(context);
  QVERIFY(QApplication::overrideCursor() == nullptr);
  // An end without a begin does not take away someone else's cursor.
  QApplication::setOverrideCursor(Qt::CrossCursor);
  callbacks.end_busy(context);
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
}

QTEST_MAIN(FieldProviderTest)
#include "dialog_field_provider_test.moc"
