// The Preview window opening fonts: the names taken for fonts, a drawing's
// options read into field texts and the layout fields set from them, a
// drawing shown with every field it names (and no other), Save picture
// writing the picture and its list, a file no font reader knows opened as a
// picture, a damaged font answered with the console's message, and over the
// real engine a font cvellicor wrote shown with its glyph count, and one it
// wrote from a grid converted back into the same bytes.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>
#include <bit>
#include <filesystem>

#include "dialog/converter_glyph_source.hpp"
#include "dialog/drawn_options.hpp"
#include "dialog/drop_filter.hpp"
#include "dialog/font_opener.hpp"
#include "dialog/preview_window.hpp"
#include "driver/format_names.hpp"
#include "driver/host_callbacks.hpp"
#include "driver/messages.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/picture_ink.hpp"

using namespace vellicor::dialog;
using Detail = vellicor::ErrorDetail;
using vellicor::FieldId;
using vellicor::test::TempDir;

Q_DECLARE_METATYPE(std::vector<FieldText>)

namespace {

const QStringList kSampleOptions{"-f", "Vellicor Sample", "-v", "33", "-a", "1", "-d", "2", "-r",
                                 "1"};
const QString kSampleCount = QStringLiteral("94 glyphs, codes 33 to 126");

// Two cells of 5 x 7 from (1, 1), one pixel apart, separator lines around
// them: a 'T' of ink in the first, a dot in the second.
const std::vector<std::string> kGridRows{
    "sssssssssssss",  //
    "s.....s.....s",  //
    "s#####s.....s",  //
    "s..#..s.....s",  //
    "s..#..s.....s",  //
    "s..#..s..#..s",  //
    "s..#..s.....s",  //
    "s.....s.....s",  //
    "sssssssssssss",  //
};
const QStringList kGridOptions{"-d",  "2",          "--grid", "5x7",   "--grid-origin",
                               "1,1", "--grid-gap", "1,1",    "--ink", "dark"};

// The grid above as a PNG: '#' black, 's' light grey (paper under the dark
// rule), anything else white.
QString write_grid(const TempDir& folder) {
  std::vector<std::uint8_t> pixels;
  for (const std::string& row : kGridRows) {
    for (const char pixel : row) {
      const std::uint8_t level = pixel == '#' ? 0 : pixel == 's' ? 190 : 255;
      pixels.insert(pixels.end(), {level, level, level, 255});
    }
  }
  const std::string path = folder.file("hand.png");
  vellicor::test::write_file(path,
                             vellicor::test::rgba_png(std::uint32_t(kGridRows[0].size()),
                                                      std::uint32_t(kGridRows.size()), pixels));
  return QString::fromStdString(path);
}

// The ink pixels of the picture at path under the dark rule; -1 when it
// cannot be read.
int ink_count(const QString& path) {
  vellicor::InkBits ink;
  if (failed(vellicor::read_ink_bits(QFile::encodeName(path).constData(), VELLICOR_INK_DARK, ink,
                                     nullptr))) {
    return -1;
  }
  int count = 0;
  for (const std::uint8_t byte : ink.bits) count += std::popcount(byte);
  return count;
}

struct Window {
  PreviewWindow window{std::make_shared<ConverterGlyphSource>()};
  QPushButton* save_button = window.findChild<QPushButton*>(QStringLiteral("savePictureButton"));

  Window() { window.show(); }
  void wait() { QTRY_VERIFY(!window.cutting()); }
  QString text(FieldId id) const { return window.edit(id)->text(); }
  // Converts as shown: the font goes beside font, under the drawing's name,
  // and holds the same bytes.
  void convert_back(const std::string& font, const std::string& converted, int glyphs) {
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("convertButton")),
                      Qt::LeftButton);
    QCOMPARE(window.status_text(),
             QStringLiteral("%1 glyphs written to %2").arg(glyphs).arg(converted.c_str()));
    QVERIFY(vellicor::test::read_file(converted) == vellicor::test::read_file(font));
  }
};

// Sends a drag's enter and drop of one file to widget; returns whether the
// drag was accepted as it entered.
bool drag_and_drop(QWidget& widget, const QString& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  const QPoint inside(widget.width() / 2, widget.height() / 2);
  QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &enter);
  QDropEvent drop(QPointF(inside), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &drop);
  return enter.isAccepted();
}

int run_console(const QStringList& arguments) {
  QProcess console;
  console.start(QString::fromStdString((vellicor::test::binary_dir() / "cvellicor").string()),
                arguments);
  if (!console.waitForFinished()) return -1;
  return console.exitCode();
}

// The grid converted by the console into folder/name with the grid's
// options and more; an empty text when the console refuses.
QString make_font(const TempDir& folder, const QString& name, const QStringList& more) {
  const QString font = QString::fromStdString(folder.file(name.toStdString()));
  const QStringList arguments = QStringList{"-f", "Hand Drawn", "-o", font} + kGridOptions + more
                                << write_grid(folder);
  return run_console(arguments) == 0 ? font : QString();
}

}  // namespace

class PreviewFontTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void fontNamesAreTakenByTheirEnds_data();
  void fontNamesAreTakenByTheirEnds();
  void optionsBecomeTheTextsTheConsoleGives();
  void layoutFieldsTakeBackWhatTheyGive_data();
  void layoutFieldsTakeBackWhatTheyGive();
  void fileNoFontReaderKnowsOpensAsPicture();
  void drawingSetsEveryFieldItsOptionsName();
  void savePictureWritesThePictureAndItsList();
  void damagedFontShowsTheConsolesMessage();
  void fontWrittenByTheConsoleShowsItsCount_data();
  void fontWrittenByTheConsoleShowsItsCount();
  void gridFontComesBackByteForByte_data();
  void gridFontComesBackByteForByte();
};

void PreviewFontTest::fontNamesAreTakenByTheirEnds_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("font");
  QTest::newRow("bdf upper case") << "/fonts/TERM.BDF" << true;
  QTest::newRow("compressed pcf") << "/fonts/term.pcf.gz" << true;
  QTest::newRow("compressed psf") << "/fonts/lat1-16.psf.GZ" << true;
  QTest::newRow("fon") << "a.fon" << true;
  QTest::newRow("other compressed file") << "notes.txt.gz" << false;
  QTest::newRow("folder named like a font") << "/fonts.bdf/sheet" << false;
}

void PreviewFontTest::fontNamesAreTakenByTheirEnds() {
  QFETCH(QString, name);
  QFETCH(bool, font);
  QCOMPARE(has_font_extension(name), font);
}

void PreviewFontTest::optionsBecomeTheTextsTheConsoleGives() {
  const std::vector<std::string> options{"-d",
                                         "2",
                                         "--grid",
                                         "6x13",
                                         "--grid-origin",
                                         "1,1",
                                         "--grid-gap=1,1",
                                         "--ink",
                                         "dark",
                                         "-w",
                                         "-v",
                                         "33",
                                         "--proportional",
                                         "--marks",
                                         "--rows",
                                         "3",
                                         "-L",
                                         "--chars-file",
                                         "list.txt",
                                         "--columns",
                                         "8",
                                         "-f",
                                         "My Font",
                                         "--blank-advance",
                                         "4",
                                         "--format=psf"};
  const std::vector<FieldText> expected{
      {vellicor::FieldDescent, "2"},        {vellicor::FieldLayout, "grid"},
      {vellicor::FieldGridCell, "6x13"},    {vellicor::FieldGridOrigin, "1,1"},
      {vellicor::FieldGridGap, "1,1"},      {vellicor::FieldInkRule, "dark"},
      {vellicor::FieldFixedWidth, "1"},     {vellicor::FieldFirstGlyph, "33"},
      {vellicor::FieldProportional, "1"},   {vellicor::FieldLayout, "marks"},
      {vellicor::FieldRows, "3"},           {vellicor::FieldLeadingBlank, "0"},
      {vellicor::FieldFontName, "My Font"}, {vellicor::FieldBlankAdvance, "4"},
      {vellicor::FieldFormat, "psf"},
  };
  QCOMPARE(fields_of_options(options), expected);
  QVERIFY(fields_of_options({}).empty());
}

void PreviewFontTest::layoutFieldsTakeBackWhatTheyGive_data() {
  QTest::addColumn<std::vector<FieldText>>("taken");
  QTest::addColumn<std::vector<FieldText>>("given");
  using vellicor::FieldGridCell, vellicor::FieldGridGap, vellicor::FieldGridOrigin,
      vellicor::FieldLayout, vellicor::FieldProportional, vellicor::FieldRows,
      vellicor::FieldCharset;
  QTest::newRow("grid") << std::vector<FieldText>{{FieldLayout, "grid"},
                                                  {FieldGridCell, "6x13"},
                                                  {FieldGridOrigin, "1,1"},
                                                  {FieldGridGap, "1,2"},
                                                  {FieldProportional, "1"}}
                        << std::vector<FieldText>{{FieldLayout, "grid"},
                                                  {FieldGridCell, "6x13"},
                                                  {FieldGridOrigin, "1,1"},
                                                  {FieldGridGap, "1,2"},
                                                  {FieldProportional, "1"}};
  QTest::newRow("marks in bands") << std::vector<FieldText>{{FieldRows, "4"},
                                                            {FieldLayout, "marks"}}
                                  << std::vector<FieldText>{{FieldLayout, "marks"},
                                                            {FieldRows, "4"}};
  QTest::newRow("rows of strips") << std::vector<FieldText>{{FieldRows, "3"}}
                                  << std::vector<FieldText>{{FieldLayout, "strip"},
                                                            {FieldRows, "3"}};
  QTest::newRow("refused cell keeps the start")
      << std::vector<FieldText>{{FieldLayout, "grid"}, {FieldGridCell, "0x5"}}
      << std::vector<FieldText>{{FieldLayout, "grid"},
                                {FieldGridCell, "8x16"},
                                {FieldGridOrigin, "0,0"},
                                {FieldGridGap, "0,0"},
                                {FieldProportional, "0"}};
}

void PreviewFontTest::layoutFieldsTakeBackWhatTheyGive() {
  QFETCH(std::vector<FieldText>, taken);
  QFETCH(std::vector<FieldText>, given);
  Window preview;
  SheetFields& sheet = preview.window.sheet_fields();
  // Fields set before are no part of what is taken.
  sheet.layout_box()->setCurrentIndex(SheetFields::kMarks);
  sheet.rows_box()->setValue(7);
  sheet.charset_box()->setCurrentIndex(1);
  preview.wait();
  const QSignalSpy changes(&sheet, &SheetFields::changed);
  sheet.take_driver_texts(taken);
  QCOMPARE(changes.count(), 0);
  QCOMPARE(sheet.driver_texts(), given);
  QCOMPARE(sheet.cell_width_box()->isEnabled(),
           sheet.layout_box()->currentIndex() == SheetFields::kGrid);
}

void PreviewFontTest::fileNoFontReaderKnowsOpensAsPicture() {
  TempDir folder;
  // A picture under a name that is neither a picture's nor a font's.
  const std::string picture = folder.file("ascii.sheet");
  std::filesystem::copy_file(vellicor::test::source_dir() / "examples/ascii.bmp", picture);
  Window preview;
  QVERIFY(!preview.save_button->isEnabled());
  preview.window.edit(vellicor::FieldFirstGlyph)->setText(QStringLiteral("33"));
  preview.window.edit(vellicor::FieldAllowedBlankColumns)->setText(QStringLiteral("1"));
  preview.window.open_file(QString::fromStdString(picture));
  preview.wait();
  QCOMPARE(preview.window.status_text(), kSampleCount);
  QCOMPARE(preview.text(vellicor::FieldInputPath), QString::fromStdString(picture));
  QVERIFY(preview.window.shown_font().isEmpty());
  QVERIFY(!preview.save_button->isEnabled());
}

void PreviewFontTest::drawingSetsEveryFieldItsOptionsName() {
  TempDir folder;
  const QString font = make_font(folder, "hand.bdf", {"-v", "65", "-w"});
  QVERIFY(!font.isEmpty());
  Window preview;
  // What the fields held before is gone: the drawing converts back with
  // its own options alone.
  preview.window.edit(vellicor::FieldUpperBlank)->setText(QStringLiteral("3"));
  preview.window.edit(vellicor::FieldChars)->setText(QStringLiteral("xyz"));
  preview.window.edit(vellicor::FieldOutputPath)->setText(QStringLiteral("/elsewhere/x.bdf"));
  preview.window.fixed_width_box()->setChecked(true);
  preview.window.format_box()->setCurrentIndex(
      preview.window.format_box()->findData(QStringLiteral("fon")));
  preview.wait();

  Detail detail = Detail::kNone;
  const bool opened = preview.window.open_font(font, &detail);
  if (!opened && detail == Detail::kFontUnknown) QSKIP("this build reads no BDF fonts yet");
  QVERIFY2(opened, qPrintable(preview.window.status_text()));
  preview.wait();
  QCOMPARE(preview.window.status_text(), QStringLiteral("2 glyphs, codes 65 to 66"));
  QCOMPARE(preview.window.shown_font(), font);
  QVERIFY(preview.save_button->isEnabled());
  QCOMPARE(preview.text(vellicor::FieldDescent), QStringLiteral("2"));
  QCOMPARE(preview.text(vellicor::FieldFirstGlyph), QStringLiteral("65"));
  QCOMPARE(preview.text(vellicor::FieldFontName), QStringLiteral("Hand Drawn"));
  for (const FieldId empty : {vellicor::FieldUpperBlank, vellicor::FieldChars,
                              vellicor::FieldOutputPath, vellicor::FieldLowerBlank}) {
    QVERIFY2(preview.text(empty).isEmpty(), qPrintable(QString::number(empty)));
  }
  QVERIFY(!preview.window.fixed_width_box()->isChecked());
  QCOMPARE(preview.window.ink_rule_box()->currentData().toString(), QStringLiteral("dark"));
  QCOMPARE(preview.window.format_box()->currentData().toString(), QStringLiteral("bdf"));
  SheetFields& sheet = preview.window.sheet_fields();
  QCOMPARE(sheet.layout_box()->currentIndex(), int(SheetFields::kGrid));
  QCOMPARE(sheet.cell_width_box()->value(), 5);
  QCOMPARE(sheet.cell_height_box()->value(), 7);
  QCOMPARE(sheet.origin_x_box()->value(), 1);
  QCOMPARE(sheet.gap_y_box()->value(), 1);

  // The font converts beside the font drawn, never over it nor into the
  // window's private folder.
  const auto texts = preview.window.conversion_texts(CutRequest{}).texts;
  QCOMPARE(texts.at(vellicor::FieldOutputPath),
           QFile::encodeName(QString::fromStdString(folder.file("hand-drawn.bdf"))));

  // A font with a list: the list names the codes, and the fields the first
  // drawing set and this one does not name are empty again.
  const QString listed = make_font(folder, "listed.bdf", {"--chars", "\u00e9\u20ac"});
  QVERIFY(!listed.isEmpty());
  QVERIFY(preview.window.open_font(listed));
  preview.wait();
  QCOMPARE(preview.text(vellicor::FieldChars), QStringLiteral("\u00e9\u20ac"));
  QCOMPARE(preview.window.status_text(), QStringLiteral("2 glyphs, codes 233 to 8364"));
  QVERIFY(preview.text(vellicor::FieldFirstGlyph).isEmpty());

  // A picture opened after it is a picture again, with nothing to save.
  preview.window.open_file(
      QString::fromStdString((vellicor::test::source_dir() / "examples/ascii.bmp").string()));
  preview.wait();
  QVERIFY(preview.window.shown_font().isEmpty());
  QVERIFY(!preview.save_button->isEnabled());
}

void PreviewFontTest::savePictureWritesThePictureAndItsList() {
  TempDir folder;
  const QString font = make_font(folder, "listed.bdf", {"--chars", "\u00e9\u20ac"});
  QVERIFY(!font.isEmpty());
  Window preview;
  QStringList suggested;
  QString answer;
  preview.window.set_save_chooser(
      [&](QWidget*, const QString&, const QString& offered, const QString&) {
        suggested << offered;
        return answer;
      });
  Detail detail = Detail::kNone;
  if (!preview.window.open_font(font, &detail) && detail == Detail::kFontUnknown) {
    QSKIP("this build reads no BDF fonts yet");
  }
  preview.wait();
  const std::vector<std::string> shown = folder.entries();

  // Cancelled: nothing written.
  QTest::mouseClick(preview.save_button, Qt::LeftButton);
  QCOMPARE(suggested, QStringList{QString::fromStdString(folder.file("listed-drawn.png"))});
  QCOMPARE(folder.entries(), shown);

  // A name without an extension is a PNG's; the list goes beside it.
  answer = QString::fromStdString(folder.file("sheet"));
  QTest::mouseClick(preview.save_button, Qt::LeftButton);
  const QString picture = answer + ".png";
  const QString list = QString::fromStdString(folder.file("sheet.txt"));
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("Picture saved to %1, its characters to %2").arg(picture, list));
  QCOMPARE(vellicor::test::read_text(list.toStdString()), std::string("\u00e9\u20ac\n"));
  // The 'T' and the dot: the separators are paper under the dark rule.
  QCOMPARE(ink_count(picture), 10);

  // A folder that is not there: the picture that failed is named, and
  // nothing is written.
  const std::vector<std::string> saved = folder.entries();
  answer = QString::fromStdString(folder.file("missing/sheet.png"));
  QTest::mouseClick(preview.save_button, Qt::LeftButton);
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("Cannot write the picture or its character list: ") + answer);
  QCOMPARE(folder.entries(), saved);

  // A BMP when asked for, and no list for a font without one.
  QVERIFY(preview.window.open_font(make_font(folder, "plain.bdf", {"-v", "65"})));
  preview.wait();
  answer = QString::fromStdString(folder.file("plain.bmp"));
  QTest::mouseClick(preview.save_button, Qt::LeftButton);
  QCOMPARE(preview.window.status_text(), QStringLiteral("Picture saved to %1").arg(answer));
  QVERIFY(!QFile::exists(QString::fromStdString(folder.file("plain.txt"))));
  QCOMPARE(vellicor::test::read_file(answer.toStdString()).at(0), std::uint8_t('B'));
  QCOMPARE(ink_count(answer), 10);
}

void PreviewFontTest::damagedFontShowsTheConsolesMessage() {
  TempDir folder;
  const std::string font = folder.file("broken.bdf");
  // The bitmap ends before its rows do.
  vellicor::test::write_text(font,
                             "STARTFONT 2.1\nFONT broken\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 0\n"
                             "CHARS 1\nSTARTCHAR a\nENCODING 97\nSWIDTH 500 0\nDWIDTH 8 0\n"
                             "BBX 8 8 0 0\nBITMAP\nFF\n");
  Window preview;
  Detail detail = Detail::kNone;
  QVERIFY(!preview.window.open_font(QString::fromStdString(font), &detail));
  if (detail == Detail::kFontUnknown) QSKIP("this build reads no BDF fonts yet");
  QCOMPARE(detail, Detail::kFontDamaged);
  const QString message =
      QStringLiteral("The font file is damaged: it breaks the rules of its format (line 12)");
  QCOMPARE(preview.window.status_text(), message);
  QVERIFY(preview.window.shown_font().isEmpty());
  QVERIFY(!preview.save_button->isEnabled());

  // Opened as any file, it is the same: a font, though a damaged one.
  preview.window.open_file(QString::fromStdString(font));
  QCOMPARE(preview.window.status_text(), message);
  QVERIFY(preview.text(vellicor::FieldInputPath).isEmpty());

  // A font's name on a file that cannot be read is named with the refusal.
  const QString folder_named_font = QString::fromStdString(folder.file("folder.pcf"));
  QVERIFY(QDir().mkdir(folder_named_font));
  QVERIFY(!preview.window.open_font(folder_named_font, &detail));
  QCOMPARE(detail, Detail::kFileAccess);
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("Cannot read the font file: ") + folder_named_font);
}

void PreviewFontTest::fontWrittenByTheConsoleShowsItsCount_data() {
  QTest::addColumn<QString>("keyword");
  for (const vellicor::FormatName& name : vellicor::format_names()) {
    QTest::newRow(name.keyword) << QString::fromLatin1(name.keyword);
  }
}

void PreviewFontTest::fontWrittenByTheConsoleShowsItsCount() {
  QFETCH(QString, keyword);
  TempDir folder;
  const std::string picture = folder.file("ascii.bmp");
  std::filesystem::copy_file(vellicor::test::source_dir() / "examples/ascii.bmp", picture);
  if (run_console(QStringList{"--format", keyword} + kSampleOptions +
                  QStringList{QString::fromStdString(picture)}) != 0) {
    QSKIP("this build writes no fonts of the format");
  }
  Window preview;
  Detail detail = Detail::kNone;
  const QString font = QString::fromStdString(folder.file("ascii." + keyword.toStdString()));
  const bool opened = preview.window.open_font(font, &detail);
  if (!opened && detail == Detail::kFontUnknown) {
    QSKIP("this build reads or draws no fonts of the format yet");
  }
  QVERIFY2(opened, qPrintable(preview.window.status_text()));
  preview.wait();
  // A drop of the font shows the same.
  preview.window.open_picture(QString());
  QVERIFY(drag_and_drop(preview.window, font));
  preview.wait();
  // The strip's count: the drawing holds every glyph the picture gave.
  QCOMPARE(preview.window.status_text(), kSampleCount);
  QCOMPARE(preview.window.format_box()->currentData().toString(), keyword);
  // A PSF holds no name to take.
  QCOMPARE(preview.text(vellicor::FieldFontName),
           keyword == QStringLiteral("psf") ? QString() : QStringLiteral("Vellicor Sample"));
  QCOMPARE(preview.window.shown_font(), font);

  // Drawn as the strip it was converted from, it converts back into the
  // same bytes beside the font.
  if (preview.window.sheet_fields().layout_box()->currentIndex() != SheetFields::kStrip) {
    QSKIP("this build draws strip fonts in another layout");
  }
  preview.convert_back(font.toStdString(), folder.file("ascii-drawn." + keyword.toStdString()), 94);
}

void PreviewFontTest::gridFontComesBackByteForByte_data() {
  fontWrittenByTheConsoleShowsItsCount_data();
}

void PreviewFontTest::gridFontComesBackByteForByte() {
  QFETCH(QString, keyword);
  TempDir folder;
  // The grid converted by the console is the font drawn.
  const QString made = make_font(folder, "hand." + keyword, {"--format", keyword, "-v", "65"});
  if (made.isEmpty()) QSKIP("this build writes no fonts of the format");
  const std::string font = made.toStdString();

  Window preview;
  Detail detail = Detail::kNone;
  const bool opened = preview.window.open_font(QString::fromStdString(font), &detail);
  if (!opened && detail == Detail::kFontUnknown) QSKIP("this build reads no fonts of the format");
  QVERIFY2(opened, qPrintable(preview.window.status_text()));
  preview.wait();
  QCOMPARE(preview.window.status_text(), QStringLiteral("2 glyphs, codes 65 to 66"));

  preview.convert_back(font, folder.file("hand-drawn." + keyword.toStdString()), 2);
}

QTEST_MAIN(PreviewFontTest)
#include "preview_font_test.moc"
