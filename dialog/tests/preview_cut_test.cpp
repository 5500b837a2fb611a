// The Preview window over the real engine: the sample strip's boxes, a split
// glyph, a character list that does not match or is refused, and Convert
// against the console program with the same settings.
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "dialog/converter_glyph_source.hpp"
#include "dialog/preview_window.hpp"
#include "driver/host_callbacks.hpp"
#include "tests/support/temp_dir.hpp"

using namespace vellicor::dialog;
using vellicor::FieldAllowedBlankColumns;
using vellicor::FieldBlankAdvance;
using vellicor::FieldChars;
using vellicor::FieldDescent;
using vellicor::FieldFirstGlyph;
using vellicor::FieldFontName;
using vellicor::FieldLowerBlank;
using vellicor::FieldOutputPath;
using vellicor::FieldTrailingBlank;
using vellicor::test::TempDir;

namespace {

// The sample's 94 glyphs: the printable characters after the space, '!' to '~'.
QString printable_ascii() {
  QString text;
  for (char16_t code = u'!'; code <= u'~'; ++code) text += QChar(code);
  return text;
}

std::string sample_strip() {
  return (vellicor::test::source_dir() / "examples/ascii.bmp").string();
}

// Ink runs of the sample read straight from its pixels: its glyphs stand two
// blank columns apart and hold at most one blank column inside. Row 0 is
// never ink in the sample. Pairs of first column and width.
std::vector<std::pair<int, int>> sample_ink_runs(const QImage& picture) {
  std::vector<std::pair<int, int>> runs;
  int start = -1;
  int blanks = 0;
  for (int x = 0; x < picture.width(); ++x) {
    bool ink = false;
    for (int y = 0; y < picture.height(); ++y) ink = ink || qGray(picture.pixel(x, y)) < 128;
    if (ink) {
      if (start < 0) start = x;
      blanks = 0;
    } else if (start >= 0 && ++blanks == 2) {
      runs.emplace_back(start, x - 1 - start);
      start = -1;
    }
  }
  return runs;
}

struct Window {
  PreviewWindow window{std::make_shared<ConverterGlyphSource>()};

  // The sample's own settings, as the README converts it without a list.
  explicit Window(const std::string& picture) {
    window.edit(FieldFontName)->setText(QStringLiteral("Vellicor Sample"));
    window.edit(FieldFirstGlyph)->setText(QStringLiteral("33"));
    window.edit(FieldAllowedBlankColumns)->setText(QStringLiteral("1"));
    window.edit(FieldDescent)->setText(QStringLiteral("2"));
    window.edit(FieldTrailingBlank)->setText(QStringLiteral("1"));
    window.show();
    window.open_picture(QString::fromStdString(picture));
    wait();
  }

  static void wait_for(const PreviewWindow& window) { QTRY_VERIFY(!window.cutting()); }
  void wait() { wait_for(window); }

  void convert() {
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("convertButton")),
                      Qt::LeftButton);
  }
};

}  // namespace

class PreviewCutTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void sampleStripShowsABoxForEveryGlyphAtItsColumns();
  void noAllowedBlankColumnSplitsTheQuote();
  void mismatchingCharacterListKeepsThePairsAndConvertWritesNothing();
  void refusedCharacterListKeepsTheBoxes_data();
  void refusedCharacterListKeepsTheBoxes();
  void convertWritesWhatTheConsoleWritesWithTheSameOptions();
  void badCharacterFileGetsTheConsolesRefusal();
  void fontNeverReplacesTheListFile();
};

void PreviewCutTest::sampleStripShowsABoxForEveryGlyphAtItsColumns() {
  Window preview(sample_strip());
  const PreviewView& view = preview.window.view();
  QCOMPARE(preview.window.status_text(), QStringLiteral("94 glyphs, codes 33 to 126"));
  const auto runs = sample_ink_runs(view.picture());
  QCOMPARE(runs.size(), std::size_t{94});
  QCOMPARE(view.glyphs().size(), runs.size());
  for (std::size_t index = 0; index < runs.size(); ++index) {
    const GlyphBox& glyph = view.glyphs()[index];
    QCOMPARE(int(glyph.first_column), runs[index].first);
    QCOMPARE(int(glyph.width), runs[index].second);
    QCOMPARE(glyph.code, 33u + index);
    // Drawn where its columns are, at the view's zoom.
    QCOMPARE(view.box_on_viewport(index).width(), runs[index].second * view.zoom());
  }
  // Seven rows above the baseline from row 1, two below it.
  QCOMPARE(view.baseline_row(), 8);
  // Two blank rows below the glyphs are two more rows of the box, so the
  // descent of 2 leaves the baseline right under the ink.
  preview.window.edit(FieldLowerBlank)->setText(QStringLiteral("2"));
  preview.wait();
  QCOMPARE(view.baseline_row(), 10);
}

void PreviewCutTest::noAllowedBlankColumnSplitsTheQuote() {
  Window preview(sample_strip());
  const auto& before = preview.window.view().glyphs();
  const auto quote = std::find_if(before.begin(), before.end(),
                                  [](const GlyphBox& glyph) { return glyph.code == '"'; });
  QVERIFY(quote != before.end());
  QCOMPARE(quote->width, 3u);  // two strokes and the blank column between them
  const std::uint32_t column = quote->first_column;

  preview.window.edit(FieldAllowedBlankColumns)->setText(QStringLiteral("0"));
  preview.wait();
  const auto& after = preview.window.view().glyphs();
  QVERIFY(after.size() > 94);
  const auto left = std::find_if(after.begin(), after.end(), [column](const GlyphBox& glyph) {
    return glyph.first_column == column;
  });
  QVERIFY(left != after.end() && left + 1 != after.end());
  QCOMPARE(left->width, 1u);
  QCOMPARE((left + 1)->first_column, column + 2);
  QCOMPARE((left + 1)->width, 1u);
  QVERIFY(preview.window.status_text().startsWith(QString::number(after.size()) + " glyphs"));
}

void PreviewCutTest::mismatchingCharacterListKeepsThePairsAndConvertWritesNothing() {
  TempDir folder;
  const std::string picture = folder.file("ascii.bmp");
  std::filesystem::copy_file(sample_strip(), picture);
  Window preview(picture);
  const auto& glyphs = preview.window.view().glyphs();

  // One character short: the first 93 glyphs keep their characters and
  // codes, the last one is shown unpaired.
  preview.window.edit(FieldChars)->setText(printable_ascii().left(93));
  preview.wait();
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("The picture holds 94 glyphs but the character list names 93"));
  QCOMPARE(glyphs.size(), std::size_t{94});
  for (std::size_t index = 0; index < 93; ++index) {
    QCOMPARE(glyphs[index].character, printable_ascii().mid(int(index), 1));
    QCOMPARE(glyphs[index].code, 33u + index);
    QVERIFY(!glyphs[index].unpaired);
  }
  QVERIFY(glyphs.back().unpaired);
  QVERIFY(glyphs.back().character.isEmpty());
  QCOMPARE(glyphs.back().first_column,
           sample_ink_runs(preview.window.view().picture()).back().first);

  // One character too many (with ink): every glyph has its character.
  preview.window.edit(FieldChars)->setText(printable_ascii() + QStringLiteral("\u00e9"));
  preview.wait();
  const QString count_message =
      QStringLiteral("The picture holds 94 glyphs but the character list names 95");
  QCOMPARE(preview.window.status_text(), count_message);
  QCOMPARE(glyphs.size(), std::size_t{94});
  QCOMPARE(glyphs.front().character, QStringLiteral("!"));
  QCOMPARE(glyphs.back().character, QStringLiteral("~"));
  QVERIFY(std::none_of(glyphs.begin(), glyphs.end(),
                       [](const GlyphBox& glyph) { return glyph.unpaired; }));

  preview.convert();
  QCOMPARE(preview.window.status_text(), count_message);
  QCOMPARE(folder.entries(), std::vector<std::string>{"ascii.bmp"});
}

void PreviewCutTest::refusedCharacterListKeepsTheBoxes_data() {
  QTest::addColumn<QString>("list");
  QTest::addColumn<QString>("message");
  QTest::newRow("character twice")
      << QStringLiteral("AB\u00e9C\u00e9")
      << QStringLiteral("The character list names U+00E9 '\u00e9' twice");
  QTest::newRow("only blanks") << QStringLiteral(" \u00a0\u3000")
                               << QStringLiteral("The character list names only blank characters");
}

void PreviewCutTest::refusedCharacterListKeepsTheBoxes() {
  QFETCH(QString, list);
  QFETCH(QString, message);
  Window preview(sample_strip());
  const PreviewView& view = preview.window.view();
  preview.window.edit(FieldChars)->setText(list);
  preview.wait();
  QCOMPARE(preview.window.status_text(), message);
  // The picture's glyphs stay where its ink is, none of them labelled, and
  // the baseline stays where the descent puts it.
  const auto runs = sample_ink_runs(view.picture());
  QCOMPARE(view.glyphs().size(), runs.size());
  for (std::size_t index = 0; index < runs.size(); ++index) {
    QCOMPARE(int(view.glyphs()[index].first_column), runs[index].first);
    QCOMPARE(int(view.glyphs()[index].width), runs[index].second);
    QVERIFY(view.glyphs()[index].unpaired);
  }
  QCOMPARE(view.baseline_row(), 8);
}

void PreviewCutTest::convertWritesWhatTheConsoleWritesWithTheSameOptions() {
  TempDir folder;
  const std::string picture = folder.file("ascii.bmp");
  std::filesystem::copy_file(sample_strip(), picture);
  // The sample's list: a real space, which becomes a blank glyph, then the
  // 94 characters of the picture. The file wraps the list over two lines and
  // begins with a byte-order mark, both of which the readers drop.
  const std::string chars_file = folder.file("chars.txt");
  vellicor::test::write_text(chars_file, "\xEF\xBB\xBF " +
                                             printable_ascii().left(40).toStdString() + "\n" +
                                             printable_ascii().mid(40).toStdString() + "\n");

  Window preview(picture);
  QVERIFY(preview.window.load_characters(QString::fromStdString(chars_file)));
  preview.window.edit(FieldBlankAdvance)->setText(QStringLiteral("4"));
  const std::string written = folder.file("preview.bdf");
  preview.window.edit(FieldOutputPath)->setText(QString::fromStdString(written));
  preview.wait();
  QCOMPARE(preview.window.status_text(), QStringLiteral("95 glyphs, codes 32 to 126"));
  const auto& glyphs = preview.window.view().glyphs();
  QVERIFY(glyphs.front().is_blank);
  QCOMPARE(glyphs[1].character, QStringLiteral("!"));
  QCOMPARE(glyphs[1].code, 33u);
  preview.convert();
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("95 glyphs written to ") + QString::fromStdString(written));

  const std::string console_font = folder.file("console.bdf");
  QProcess console;
  console.start(
      QString::fromStdString((vellicor::test::binary_dir() / "cvellicor").string()),
      {"-o", QString::fromStdString(console_font), "-f", "Vellicor Sample", "-v", "33", "-a", "1",
       "-d", "2", "-r", "1", "--chars-file", QString::fromStdString(chars_file), "--blank-advance",
       "4", QString::fromStdString(picture)});
  QVERIFY(console.waitForFinished());
  QCOMPARE(console.exitCode(), 0);
  const auto font = vellicor::test::read_file(written);
  QVERIFY(!font.empty());
  QVERIFY(font == vellicor::test::read_file(console_font));
}

void PreviewCutTest::badCharacterFileGetsTheConsolesRefusal() {
  TempDir folder;
  const std::string picture = folder.file("ascii.bmp");
  std::filesystem::copy_file(sample_strip(), picture);
  // Byte 3 of the list (the line break is one byte of it) is no UTF-8.
  const std::string chars_file = folder.file("bad.txt");
  vellicor::test::write_text(chars_file, "ab\n\xFF" + printable_ascii().mid(3).toStdString());
  const QString refusal = QStringLiteral("The character list is not valid UTF-8 text (at byte 3)");

  QProcess console;
  console.start(
      QString::fromStdString((vellicor::test::binary_dir() / "cvellicor").string()),
      {"--chars-file", QString::fromStdString(chars_file), QString::fromStdString(picture)});
  QVERIFY(console.waitForFinished());
  QCOMPARE(console.exitCode(), 1);
  QCOMPARE(QString::fromUtf8(console.readAllStandardOutput()), refusal + QStringLiteral("\n"));

  Window preview(picture);
  QVERIFY(preview.window.load_characters(QString::fromStdString(chars_file)));
  preview.wait();
  QCOMPARE(preview.window.status_text(), refusal);
  QCOMPARE(preview.window.view().glyphs().size(), std::size_t{94});
  const std::string written = folder.file("preview.bdf");
  preview.window.edit(FieldOutputPath)->setText(QString::fromStdString(written));
  preview.convert();
  QCOMPARE(preview.window.status_text(), refusal);
  QCOMPARE(folder.entries(), (std::vector<std::string>{"ascii.bmp", "bad.txt"}));

  // Typed over, the field is the list again.
  preview.window.edit(FieldChars)->setText(printable_ascii());
  preview.wait();
  QCOMPARE(preview.window.status_text(), QStringLiteral("94 glyphs, codes 33 to 126"));

  // A file that cannot be read leaves the field as it was.
  const QString missing = QString::fromStdString(folder.file("missing.txt"));
  QVERIFY(!preview.window.load_characters(missing));
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("Cannot read the character list file: ") + missing);
  QCOMPARE(preview.window.edit(FieldChars)->text(), printable_ascii());
}

QTEST_MAIN(PreviewCutTest)
void PreviewCutTest::fontNeverReplacesTheListFile() {
  TempDir folder;
  const std::string list = folder.file("list.txt");
  vellicor::test::write_text(list, printable_ascii().toStdString());
  Window preview(sample_strip());
  QVERIFY(preview.window.load_characters(QString::fromStdString(list)));
  preview.wait();
  // Another spelling of the same file is the same file.
  preview.window.edit(FieldOutputPath)
      ->setText(QString::fromStdString(folder.file(".") + "/list.txt"));
  preview.convert();
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("The font would overwrite the character list file: ") +
               QString::fromStdString(list));
  QCOMPARE(QString::fromStdString(vellicor::test::read_text(list)), printable_ascii());

  preview.window.edit(FieldOutputPath)->setText(QString::fromStdString(folder.file("font.bdf")));
  preview.convert();
  QCOMPARE(folder.entries(), (std::vector<std::string>{"font.bdf", "list.txt"}));
}

#include "preview_cut_test.moc"
