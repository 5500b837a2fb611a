// Process end to end: the dialog's fields go through the real driver and
// engine; the font is written, or the driver's one message is shown.
#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>
#include <filesystem>
#include <string>

#include "dialog/main_dialog.hpp"
#include "driver/host_callbacks.hpp"
#include "modal_watcher.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

using namespace vellicor;
using namespace vellicor::dialog;
using vellicor::dialog::test::ModalWatcher;
using vellicor::test::TempDir;

namespace {

// Two glyphs, a "C" two columns wide and a post one column wide, between
// blank margins: the cutter ignores column 0 and row 0 and drops a glyph that
// runs into the right edge.
const std::vector<std::string> kStrip{
    "..........",
    ".##...#...",
    ".#....#...",
    ".##...#...",
};

void set_field(MainDialog& dialog, int id, const std::string& text) {
  qobject_cast<QLineEdit*>(dialog.control(id))->setText(QString::fromStdString(text));
}

QString field(MainDialog& dialog, int id) {
  return qobject_cast<QLineEdit*>(dialog.control(id))->text();
}

void press_process(MainDialog& dialog) {
  QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.control(kProcessButtonId)),
                    Qt::LeftButton);
}

// Collects the messages a dialog shows, and whether the wait cursor was up.
struct Messages {
  QStringList texts;
  bool shown_under_wait_cursor = false;

  void attach(MainDialog& dialog) {
    dialog.set_message_presenter([this](QWidget*, const QString& text) {
      texts << text;
      const QCursor* cursor = QApplication::overrideCursor();
      shown_under_wait_cursor = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
    });
  }
};

}  // namespace

class ProcessTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void writesTheFontBesideThePictureWithoutAMessage();
  void writesWhereTheOutputFieldSays();
  void emptyInputShowsBadInputFileNameInARealBox();
  void badDescentShowsItsMessage();
  void enterInAFieldPressesProcess();
  void engineFailureIsReportedUnderTheWaitCursor();
  void overLongPathsAreRefusedNeverCut();
};

void ProcessTest::writesTheFontBesideThePictureWithoutAMessage() {
  TempDir folder;
  vellicor::test::write_file(folder.file("strip.bmp"), vellicor::test::make_one_bit_bmp(kStrip));
  MainDialog dialog;
  Messages messages;
  messages.attach(dialog);
  set_field(dialog, FieldInputPath, folder.file("strip.bmp"));
  set_field(dialog, FieldFontName, "Sample Font");
  set_field(dialog, FieldFirstGlyph, "0x41");
  set_field(dialog, FieldAllowedBlankColumns, "1");
  qobject_cast<QCheckBox*>(dialog.control(FieldFixedWidth))->setChecked(true);

  press_process(dialog);

  QCOMPARE(messages.texts, QStringList());
  QVERIFY(QApplication::overrideCursor() == nullptr);
  const std::string font = vellicor::test::read_text(folder.file("strip.bdf"));
  QVERIFY(font.starts_with("STARTFONT 2.1\n"));
  QVERIFY(font.ends_with("ENDFONT\n"));
  QVERIFY(font.find("Sample Font") != std::string::npos);
  QVERIFY(font.find("CHARS 2\n") != std::string::npos);
  QVERIFY(font.find("ENCODING 65\n") != std::string::npos);
  QVERIFY(font.find("ENCODING 66\n") != std::string::npos);
  // Process changes no field.
  QCOMPARE(field(dialog, FieldInputPath), QString::fromStdString(folder.file("strip.bmp")));
  QCOMPARE(field(dialog, FieldOutputPath), QString());
  QCOMPARE(folder.entries(), (std::vector<std::string>{"strip.bdf", "strip.bmp"}));
}

void ProcessTest::writesWhereTheOutputFieldSays() {
  TempDir folder;
  vellicor::test::write_file(folder.file("strip.bmp"), vellicor::test::make_one_bit_bmp(kStrip));
  MainDialog dialog;
  Messages messages;
  messages.attach(dialog);
  set_field(dialog, FieldInputPath, folder.file("strip.bmp"));
  set_field(dialog, FieldOutputPath, folder.file("named.bdf"));

  press_process(dialog);

  QCOMPARE(messages.texts, QStringList());
  QCOMPARE(folder.entries(), (std::vector<std::string>{"named.bdf", "strip.bmp"}));
  QVERIFY(vellicor::test::read_text(folder.file("named.bdf")).find("No-Name-Font") !=
          std::string::npos);
}

void ProcessTest::emptyInputShowsBadInputFileNameInARealBox() {
  MainDialog dialog;
  ModalWatcher watcher;
  press_process(dialog);
  QCOMPARE(watcher.closed_count(), 1);
  QCOMPARE(watcher.last_text(), QStringLiteral("Bad input file name"));
  QCOMPARE(watcher.last_title(), QCoreApplication::applicationName());
  QVERIFY(watcher.last_was_plain_ok_box());
  QVERIFY(QApplication::overrideCursor() == nullptr);
}

void ProcessTest::badDescentShowsItsMessage() {
  TempDir folder;
  vellicor::test::write_file(folder.file("strip.bmp"), vellicor::test::make_one_bit_bmp(kStrip));
  MainDialog dialog;
  Messages messages;
  messages.attach(dialog);
  set_field(dialog, FieldInputPath, folder.file("strip.bmp"));
  set_field(dialog, FieldDescent, "256");

  press_process(dialog);

  QCOMPARE(messages.texts, QStringList{QStringLiteral("Invalid Descent Pixels Value")});
  QVERIFY(!messages.shown_under_wait_cursor);
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(folder.entries(), std::vector<std::string>{"strip.bmp"});
}

void ProcessTest::enterInAFieldPressesProcess() {
  MainDialog dialog;
  Messages messages;
  messages.attach(dialog);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(dialog.control(FieldFontName), Qt::Key_Return);
  QCOMPARE(messages.texts, QStringList{QStringLiteral("Bad input file name")});
  QVERIFY(dialog.isVisible());
}

void ProcessTest::engineFailureIsReportedUnderTheWaitCursor() {
  TempDir folder;
  vellicor::test::write_text(folder.file("strip.bmp"), "not a picture");
  MainDialog dialog;
  Messages messages;
  messages.attach(dialog);
  set_field(dialog, FieldInputPath, folder.file("strip.bmp"));

  press_process(dialog);

  QCOMPARE(messages.texts, QStringList{QStringLiteral("Invalid Input File Type")});
  QVERIFY(messages.shown_under_wait_cursor);
  QVERIFY(QApplication::overrideCursor() == nullptr);
  QCOMPARE(folder.entries(), std::vector<std::string>{"strip.bmp"});
}

void ProcessTest::overLongPathsAreRefusedNeverCut() {
  TempDir folder;
  vellicor::test::write_file(folder.file("strip.bmp"), vellicor::test::make_one_bit_bmp(kStrip));
  const std::string picture = folder.file("strip.bmp");
  // 300 characters each; cut to 259 they would still name a file in folder.
  const std::string long_output =
      folder.file(std::string(300 - folder.path().string().size() - 1, 'o'));
  const std::string long_input =
      folder.file(std::string(300 - folder.path().string().size() - 1, 'i'));

  MainDialog dialog;
  Messages messages;
  messages.attach(dialog);
  set_field(dialog, FieldInputPath, picture);
  QTest::keyClicks(dialog.control(FieldOutputPath), QString::fromStdString(long_output));
  QCOMPARE(field(dialog, FieldOutputPath), QString::fromStdString(long_output));
  press_process(dialog);

  set_field(dialog, FieldOutputPath, "");
  set_field(dialog, FieldInputPath, long_input);
  press_process(dialog);

  QCOMPARE(messages.texts, (QStringList{QStringLiteral("BDF file name exceeds max length"),
                                        QStringLiteral("Bad input file name")}));
  QCOMPARE(field(dialog, FieldInputPath), QString::fromStdString(long_input));
  QCOMPARE(folder.entries(), std::vector<std::string>{"strip.bmp"});
}

QTEST_MAIN(ProcessTest)
#include "dialog_process_test.moc"
