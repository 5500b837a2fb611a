// The Preview window's format choice over the real engine: the box offers
// every format the console takes, Convert writes each one byte for byte as
// cvellicor --format does under the same derived name, a BDF conversion hands
// the driver no format at all, and a format's notice reaches the status line.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "dialog/converter_glyph_source.hpp"
#include "dialog/format_box.hpp"
#include "dialog/preview_window.hpp"
#include "driver/format_names.hpp"
#include "driver/host_callbacks.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/output_name.hpp"

using namespace vellicor::dialog;
using vellicor::FieldFormat;
using vellicor::test::TempDir;

namespace {

// The engine's refusal of a format whose writer it does not hold. Only the
// formats whose writers are built apart may meet it; their cases are skipped
// then, and run as soon as the writer is in.
const QString kNoWriter = QStringLiteral("The format names no font format");
const QStringList kWritersBuiltApart{"otb", "fon", "ttf"};

// The sample strip's settings, as the console's options and as field texts.
const QStringList kSampleOptions{"-f", "Vellicor Sample", "-v", "33", "-a", "1", "-d", "2", "-r",
                                 "1"};

// The sample strip, copied to folder under one name for both programs: a
// derived font name is then the same apart from the folder.
std::string copy_sample(const TempDir& folder) {
  const std::string picture = folder.file("ascii.bmp");
  std::filesystem::copy_file(vellicor::test::source_dir() / "examples/ascii.bmp", picture);
  return picture;
}

struct Window {
  PreviewWindow window{std::make_shared<ConverterGlyphSource>()};

  explicit Window(const std::string& picture) {
    window.edit(vellicor::FieldFontName)->setText(QStringLiteral("Vellicor Sample"));
    window.edit(vellicor::FieldFirstGlyph)->setText(QStringLiteral("33"));
    window.edit(vellicor::FieldAllowedBlankColumns)->setText(QStringLiteral("1"));
    window.edit(vellicor::FieldDescent)->setText(QStringLiteral("2"));
    window.edit(vellicor::FieldTrailingBlank)->setText(QStringLiteral("1"));
    window.show();
    window.open_picture(QString::fromStdString(picture));
    wait();
  }
  void wait() { QTRY_VERIFY(!window.cutting()); }
  void choose(const QString& keyword) {
    QComboBox* box = window.format_box();
    box->setCurrentIndex(box->findData(keyword));
  }
  void click_convert() {
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("convertButton")),
                      Qt::LeftButton);
  }
};

struct ConsoleRun {
  int exit_code = -1;
  QString output;
};

ConsoleRun run_console(const QStringList& arguments) {
  QProcess console;
  console.start(QString::fromStdString((vellicor::test::binary_dir() / "cvellicor").string()),
                arguments);
  if (!console.waitForFinished()) return {};
  return {console.exitCode(), QString::fromUtf8(console.readAllStandardOutput())};
}

}  // namespace

class PreviewFormatTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void boxOffersEveryFormatBdfFirstBesideConvert();
  void bdfHandsTheDriverNoFormat();
  void convertWritesWhatTheConsoleWrites_data();
  void convertWritesWhatTheConsoleWrites();
  void leftOutCharactersAreToldAfterConvert();
};

void PreviewFormatTest::boxOffersEveryFormatBdfFirstBesideConvert() {
  TempDir folder;
  Window preview(copy_sample(folder));
  QComboBox* box = preview.window.format_box();
  const auto names = vellicor::format_names();
  QCOMPARE(box->count(), int(names.size()));
  for (std::size_t index = 0; index < names.size(); ++index) {
    QCOMPARE(box->itemText(int(index)), QString::fromLatin1(names[index].title));
    QCOMPARE(box->itemData(int(index)).toString(), QString::fromLatin1(names[index].keyword));
  }
  QCOMPARE(box->currentIndex(), 0);
  QCOMPARE(chosen_format(*box), VELLICOR_FORMAT_BDF);

  // The format is no setting of the cut: choosing one cuts nothing again.
  preview.choose(QStringLiteral("psf"));
  QVERIFY(!preview.window.cutting());
  QCOMPARE(chosen_format(*box), VELLICOR_FORMAT_PSF);

  // Its label's letter leads to it, and Tab reaches it after the picture,
  // just before Convert.
  QTest::keyClick(&preview.window, Qt::Key_O, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), box);
  preview.window.view().setFocus();
  QTest::keyClick(&preview.window.view(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), box);
  QTest::keyClick(box, Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(),
           preview.window.findChild<QPushButton*>(QStringLiteral("convertButton")));
}

void PreviewFormatTest::bdfHandsTheDriverNoFormat() {
  TempDir folder;
  Window preview(copy_sample(folder));
  const CutRequest request;
  QVERIFY(!preview.window.conversion_texts(request).texts.contains(FieldFormat));
  for (const vellicor::FormatName& name : vellicor::format_names()) {
    preview.choose(QString::fromLatin1(name.keyword));
    const auto texts = preview.window.conversion_texts(request).texts;
    if (name.format == VELLICOR_FORMAT_BDF) {
      QVERIFY(!texts.contains(FieldFormat));
    } else {
      QCOMPARE(texts.at(FieldFormat), QByteArray(name.keyword));
    }
  }
  // Back at BDF the texts are those of a Preview never turned from it.
  preview.choose(QStringLiteral("pcf"));
  preview.choose(QStringLiteral("bdf"));
  QVERIFY(!preview.window.conversion_texts(request).texts.contains(FieldFormat));
}

void PreviewFormatTest::convertWritesWhatTheConsoleWrites_data() {
  QTest::addColumn<QString>("keyword");
  QTest::addColumn<QString>("extension");
  for (const vellicor::FormatName& name : vellicor::format_names()) {
    QTest::newRow(name.keyword) << QString::fromLatin1(name.keyword)
                                << QString::fromLatin1(vellicor::font_extension(name.format));
  }
}

void PreviewFormatTest::convertWritesWhatTheConsoleWrites() {
  QFETCH(QString, keyword);
  QFETCH(QString, extension);
  TempDir preview_folder;
  TempDir console_folder;
  Window preview(copy_sample(preview_folder));
  preview.choose(keyword);
  // The output field left empty: the font is named after the picture.
  QVERIFY(preview.window.edit(vellicor::FieldOutputPath)->text().isEmpty());
  preview.click_convert();
  const ConsoleRun console =
      run_console(QStringList{"--format", keyword} + kSampleOptions +
                  QStringList{QString::fromStdString(copy_sample(console_folder))});

  const QString status = preview.window.status_text();
  if (status == kNoWriter) {
    QVERIFY2(kWritersBuiltApart.contains(keyword), qPrintable(keyword));
    QCOMPARE(console.exit_code, 1);
    QCOMPARE(console.output, kNoWriter + QStringLiteral("\n"));
    QCOMPARE(preview_folder.entries(), std::vector<std::string>{"ascii.bmp"});
    QSKIP("this build holds no writer of the format");
  }
  const std::string font_name = "ascii" + extension.toStdString();
  QCOMPARE(status, QStringLiteral("94 glyphs written to ") +
                       QString::fromStdString(preview_folder.file(font_name)));
  QCOMPARE(console.exit_code, 0);
  QCOMPARE(console.output, QString());
  std::vector<std::string> both{"ascii.bmp", font_name};
  std::sort(both.begin(), both.end());
  QCOMPARE(preview_folder.entries(), both);
  QCOMPARE(console_folder.entries(), both);
  const auto font = vellicor::test::read_file(preview_folder.file(font_name));
  QVERIFY(!font.empty());
  QVERIFY(font == vellicor::test::read_file(console_folder.file(font_name)));
}

void PreviewFormatTest::leftOutCharactersAreToldAfterConvert() {
  TempDir preview_folder;
  TempDir console_folder;
  // U+0100 has no place in Windows-1252: the FON leaves out its glyph.
  QString list = QStringLiteral("\u0100");
  for (char16_t code = u'"'; code <= u'~'; ++code) list += QChar(code);
  Window preview(copy_sample(preview_folder));
  preview.window.edit(vellicor::FieldChars)->setText(list);
  preview.wait();
  preview.choose(QStringLiteral("fon"));
  preview.click_convert();
  const ConsoleRun console =
      run_console(QStringList{"--format", "fon", "--chars", list} + kSampleOptions +
                  QStringList{QString::fromStdString(copy_sample(console_folder))});

  const QString status = preview.window.status_text();
  if (status == kNoWriter) {
    QCOMPARE(console.output, kNoWriter + QStringLiteral("\n"));
    QSKIP("this build holds no FON writer");
  }
  // The console prints the notice and succeeds; the Preview says the same
  // after the font's name.
  QCOMPARE(console.exit_code, 0);
  QVERIFY2(console.output.startsWith(QStringLiteral("Left out of the FON")),
           qPrintable(console.output));
  QVERIFY(console.output.contains(QStringLiteral("1 character")));
  const QString written = QString::fromStdString(preview_folder.file("ascii.fon"));
  QCOMPARE(status + QStringLiteral("\n"),
           QStringLiteral("Font written to %1. %2").arg(written, console.output));
  QVERIFY(vellicor::test::read_file(preview_folder.file("ascii.fon")) ==
          vellicor::test::read_file(console_folder.file("ascii.fon")));

  // The next conversion with nothing to tell says only what it wrote.
  preview.choose(QStringLiteral("bdf"));
  preview.click_convert();
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("94 glyphs written to ") +
               QString::fromStdString(preview_folder.file("ascii.bdf")));
}

QTEST_MAIN(PreviewFormatTest)
#include "preview_format_test.moc"
