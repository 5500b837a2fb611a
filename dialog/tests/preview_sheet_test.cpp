// The Preview window's sheet layouts: the cells, gaps, band edges and
// baselines placed for a picture, and over the real engine a small grid
// picture with separator lines, the cells the view draws for it, the settings
// each cut is asked with and the fields each layout enables.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolTip>
#include <QtTest>
#include <functional>
#include <mutex>

#include "dialog/converter_glyph_source.hpp"
#include "dialog/preview_window.hpp"
#include "dialog/sheet_overlay.hpp"
#include "driver/host_callbacks.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"

using namespace vellicor::dialog;
using vellicor::test::TempDir;

namespace {

// The grid picture below: cells of 5 x 7 from (1, 1), one pixel apart, with
// red separator lines around them (paper under the black rule).
constexpr int kCellWidth = 5;
constexpr int kCellHeight = 7;
const std::vector<std::string> kGrid{
    "rrrrrrrrrrrrr",  //
    "r.....r.....r",  //
    "r..#..r.....r",  //
    "r..#..r.##..r",  //
    "r..#..r.##..r",  //
    "r..#..r.....r",  //
    "r..#..r.....r",  //
    "r.....r.....r",  //
    "rrrrrrrrrrrrr",  //
    "r.....r.....r",  //
    "r.....r.....r",  //
    "r.....r.....r",  //
    "r.#...r.....r",  //
    "r.....r.....r",  //
    "r.....r.....r",  //
    "r.....r.....r",  //
    "rrrrrrrrrrrrr",  //
};

// A picture drawn as text: '#' black, 'r' red, anything else white.
std::string write_png(const TempDir& folder, const std::vector<std::string>& rows) {
  std::vector<std::uint8_t> pixels;
  for (const std::string& row : rows) {
    for (const char pixel : row) {
      if (pixel == '#') {
        pixels.insert(pixels.end(), {0, 0, 0, 255});
      } else if (pixel == 'r') {
        pixels.insert(pixels.end(), {255, 0, 0, 255});
      } else {
        pixels.insert(pixels.end(), {255, 255, 255, 255});
      }
    }
  }
  const std::string path = folder.file("sheet.png");
  vellicor::test::write_file(path, vellicor::test::rgba_png(std::uint32_t(rows.front().size()),
                                                            std::uint32_t(rows.size()), pixels));
  return path;
}

// The engine's cut, with every request it was asked kept. (A cut whose list
// is refused asks once more without it, to show the picture's own boxes.)
class RecordingSource final : public GlyphSource {
 public:
  CutOutcome cut(const CutRequest& request) const override {
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    return engine_.cut(request);
  }
  CutRequest last() const {
    const std::lock_guard lock(mutex_);
    return requests_.back();
  }
  std::size_t count() const {
    const std::lock_guard lock(mutex_);
    return requests_.size();
  }
  CutRequest at(std::size_t index) const {
    const std::lock_guard lock(mutex_);
    return requests_.at(index);
  }

 private:
  ConverterGlyphSource engine_;
  mutable std::mutex mutex_;
  mutable std::vector<CutRequest> requests_;
};

struct Window {
  TempDir folder;
  std::shared_ptr<RecordingSource> source = std::make_shared<RecordingSource>();
  PreviewWindow window{source};
  SheetFields& sheet = window.sheet_fields();

  std::string picture;

  explicit Window(const std::vector<std::string>& rows = kGrid) : picture(write_png(folder, rows)) {
    window.show();
    window.open_picture(QString::fromStdString(picture));
    wait();
  }
  void wait() { QTRY_VERIFY(!window.cutting()); }

  void choose_grid(int cell_width, int cell_height) {
    sheet.layout_box()->setCurrentIndex(SheetFields::kGrid);
    sheet.cell_width_box()->setValue(cell_width);
    sheet.cell_height_box()->setValue(cell_height);
    sheet.origin_x_box()->setValue(1);
    sheet.origin_y_box()->setValue(1);
    sheet.gap_x_box()->setValue(1);
    sheet.gap_y_box()->setValue(1);
    wait();
  }
};

SheetSettings grid(std::uint32_t width, std::uint32_t height, std::uint32_t origin,
                   std::uint32_t gap) {
  SheetSettings sheet;
  sheet.layout = VELLICOR_LAYOUT_GRID;
  sheet.cell_width = width;
  sheet.cell_height = height;
  sheet.origin_x = sheet.origin_y = origin;
  sheet.gap_x = sheet.gap_y = gap;
  return sheet;
}

SheetSettings bands(std::uint32_t layout, std::uint32_t rows) {
  SheetSettings sheet;
  sheet.layout = layout;
  sheet.rows = rows;
  return sheet;
}

}  // namespace

class PreviewSheetTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void overlayPlacesWholeCellsAndBands_data();
  void overlayPlacesWholeCellsAndBands();
  void gridDrawsItsCellsAndRecutsWhenTheCellChanges();
  void eachLayoutEnablesItsFieldsAndACharsetReplacesTheList();
  void refusedLayoutSaysWhyInTheStatusLine();
  void convertWritesWhatTheConsoleWrites_data();
  void convertWritesWhatTheConsoleWrites();
};

void PreviewSheetTest::overlayPlacesWholeCellsAndBands_data() {
  QTest::addColumn<SheetSettings>("sheet");
  QTest::addColumn<QSize>("picture");
  QTest::addColumn<int>("descent");
  QTest::addColumn<QList<QRect>>("cells");
  QTest::addColumn<QList<QRect>>("gaps");
  QTest::addColumn<QList<int>>("edges");
  QTest::addColumn<QList<int>>("baselines");

  QTest::newRow("grid with gaps")
      << grid(5, 7, 1, 1) << QSize(13, 17) << 0
      << QList<QRect>{{1, 1, 5, 7}, {7, 1, 5, 7}, {1, 9, 5, 7}, {7, 9, 5, 7}}
      << QList<QRect>{{6, 1, 1, 15}, {1, 8, 11, 1}} << QList<int>{} << QList<int>{8, 16};
  // Two columns of 5 take 10 pixels, a third would end at 15: not whole.
  QTest::newRow("part of a cell is none")
      << grid(5, 4, 0, 0) << QSize(14, 4) << 1 << QList<QRect>{{0, 0, 5, 4}, {5, 0, 5, 4}}
      << QList<QRect>{} << QList<int>{} << QList<int>{3};
  // The last cell needs no gap after it.
  QTest::newRow("gap after the last cell")
      << grid(3, 3, 2, 4) << QSize(12, 5) << 0 << QList<QRect>{{2, 2, 3, 3}, {9, 2, 3, 3}}
      << QList<QRect>{{5, 2, 4, 3}} << QList<int>{} << QList<int>{5};
  QTest::newRow("origin leaves no whole cell")
      << grid(5, 7, 9, 0) << QSize(13, 17) << 0 << QList<QRect>{} << QList<QRect>{} << QList<int>{}
      << QList<int>{};
  QTest::newRow("a descent as tall as the cell has no baseline")
      << grid(4, 2, 0, 0) << QSize(4, 2) << 2 << QList<QRect>{{0, 0, 4, 2}} << QList<QRect>{}
      << QList<int>{} << QList<int>{};
  QTest::newRow("strip of one band")
      << bands(VELLICOR_LAYOUT_STRIP, 1) << QSize(40, 12) << 2 << QList<QRect>{} << QList<QRect>{}
      << QList<int>{} << QList<int>{};
  // Each band of a strip finds its baseline from its own ink.
  QTest::newRow("rows") << bands(VELLICOR_LAYOUT_STRIP, 3) << QSize(40, 12) << 2 << QList<QRect>{}
                        << QList<QRect>{} << QList<int>{4, 8} << QList<int>{};
  QTest::newRow("rows that do not divide")
      << bands(VELLICOR_LAYOUT_STRIP, 5) << QSize(40, 12) << 0 << QList<QRect>{} << QList<QRect>{}
      << QList<int>{} << QList<int>{};
  QTest::newRow("marks") << bands(VELLICOR_LAYOUT_MARKS, 2) << QSize(40, 12) << 2 << QList<QRect>{}
                         << QList<QRect>{} << QList<int>{6} << QList<int>{4, 10};
  QTest::newRow("marks of one band")
      << bands(VELLICOR_LAYOUT_MARKS, 0) << QSize(40, 6) << 0 << QList<QRect>{} << QList<QRect>{}
      << QList<int>{} << QList<int>{6};
}

void PreviewSheetTest::overlayPlacesWholeCellsAndBands() {
  QFETCH(SheetSettings, sheet);
  QFETCH(QSize, picture);
  QFETCH(int, descent);
  const SheetOverlay overlay = sheet_overlay(sheet, picture, std::uint32_t(descent));
  QTEST(QList<QRect>(overlay.cells.begin(), overlay.cells.end()), "cells");
  QTEST(QList<QRect>(overlay.gaps.begin(), overlay.gaps.end()), "gaps");
  QTEST(QList<int>(overlay.band_edges.begin(), overlay.band_edges.end()), "edges");
  QTEST(QList<int>(overlay.baselines.begin(), overlay.baselines.end()), "baselines");
}

void PreviewSheetTest::gridDrawsItsCellsAndRecutsWhenTheCellChanges() {
  Window preview;
  preview.choose_grid(kCellWidth, kCellHeight);
  // The cut is asked with the fields' grid.
  const SheetSettings asked = preview.source->last().sheet;
  QCOMPARE(asked.layout, VELLICOR_LAYOUT_GRID);
  QCOMPARE(asked.cell_width, 5u);
  QCOMPARE(asked.cell_height, 7u);
  QCOMPARE(asked.origin_x, 1u);
  QCOMPARE(asked.gap_y, 1u);

  PreviewView& view = preview.window.view();
  view.set_zoom(6);
  const QList<QRect> cells{{1, 1, 5, 7}, {7, 1, 5, 7}, {1, 9, 5, 7}, {7, 9, 5, 7}};
  QCOMPARE(QList<QRect>(view.overlay().cells.begin(), view.overlay().cells.end()), cells);
  // One glyph a cell up to the last inked one, its box the ink's, drawn
  // inside its cell.
  QCOMPARE(preview.window.status_text(), QStringLiteral("3 glyphs, codes 0 to 2"));
  const QRect ink[] = {{3, 2, 1, 5}, {8, 3, 2, 2}, {2, 12, 1, 1}};
  QCOMPARE(view.glyphs().size(), std::size(ink));
  for (std::size_t index = 0; index < std::size(ink); ++index) {
    const GlyphBox& glyph = view.glyphs()[index];
    QCOMPARE(QRect(int(glyph.first_column), int(glyph.top), int(glyph.width),
                   int(glyph.bottom - glyph.top + 1)),
             ink[index]);
    QCOMPARE(view.box_on_viewport(index), view.on_viewport(ink[index]));
    QVERIFY(view.on_viewport(cells[qsizetype(index)]).contains(view.box_on_viewport(index)));
  }
  // Hovering a box tells its code; the empty cell holds none.
  const QPoint over_block = view.box_on_viewport(1).center();
  QCOMPARE(view.glyph_at(over_block), 1);
  QCOMPARE(view.glyph_at(view.on_viewport(cells[3]).center()), -1);
  QHelpEvent hover(QEvent::ToolTip, over_block, view.viewport()->mapToGlobal(over_block));
  QCoreApplication::sendEvent(view.viewport(), &hover);
  QTRY_COMPARE(QToolTip::text(), QStringLiteral("Code 1"));
  const QImage grab = view.viewport()->grab().toImage();
  const QColor paper = grab.pixelColor(view.on_viewport(QRect(2, 2, 1, 1)).center());
  for (const QRect& cell : cells) {
    // Outlined on its own pixels, the separators beside it shaded.
    const QRect drawn = view.on_viewport(cell);
    QCOMPARE(drawn.size(), cell.size() * view.zoom());
    for (const QPoint corner : {drawn.topLeft(), drawn.bottomRight(), drawn.topRight()}) {
      QCOMPARE(grab.pixelColor(corner), PreviewView::cell_colour());
    }
    QCOMPARE(grab.pixelColor(drawn.center() + QPoint(0, drawn.height() / 2 - 2)), paper);
  }
  const QColor gap = grab.pixelColor(view.on_viewport(QRect(6, 4, 1, 1)).center());
  QVERIFY(gap != paper && gap != PreviewView::cell_colour());
  // The separators outside the grid are no gap of it.
  QCOMPARE(grab.pixelColor(view.on_viewport(QRect(0, 4, 1, 1)).center()), paper);

  // A wider cell is a new cut, and a new grid: one column of cells fits.
  QSignalSpy shown(&preview.window, &PreviewWindow::cut_shown);
  preview.sheet.cell_width_box()->setValue(6);
  QTRY_VERIFY(shown.count() >= 1);
  preview.wait();
  QCOMPARE(preview.source->last().sheet.cell_width, 6u);
  QCOMPARE(QList<QRect>(view.overlay().cells.begin(), view.overlay().cells.end()),
           (QList<QRect>{{1, 1, 6, 7}, {1, 9, 6, 7}}));
  // The block stands in no whole cell any more.
  QCOMPARE(preview.window.status_text(), QStringLiteral("2 glyphs, codes 0 to 1"));
  QCOMPARE(view.glyphs()[1].top, 12u);
}

void PreviewSheetTest::eachLayoutEnablesItsFieldsAndACharsetReplacesTheList() {
  Window preview;
  SheetFields& sheet = preview.sheet;
  const struct {
    int layout;
    std::uint32_t engine_layout;
    bool rows;
    bool grid;
  } layouts[] = {{SheetFields::kStrip, VELLICOR_LAYOUT_STRIP, false, false},
                 {SheetFields::kRows, VELLICOR_LAYOUT_STRIP, true, false},
                 {SheetFields::kGrid, VELLICOR_LAYOUT_GRID, false, true},
                 {SheetFields::kMarks, VELLICOR_LAYOUT_MARKS, true, false}};
  sheet.rows_box()->setValue(17);
  for (const auto& layout : layouts) {
    sheet.layout_box()->setCurrentIndex(layout.layout);
    preview.wait();
    QCOMPARE(sheet.rows_box()->isEnabled(), layout.rows);
    for (QWidget* field :
         {static_cast<QWidget*>(sheet.cell_width_box()),
          static_cast<QWidget*>(sheet.cell_height_box()),
          static_cast<QWidget*>(sheet.origin_x_box()), static_cast<QWidget*>(sheet.gap_y_box()),
          static_cast<QWidget*>(sheet.proportional_box())}) {
      QCOMPARE(field->isEnabled(), layout.grid);
    }
    const SheetSettings asked = preview.source->last().sheet;
    QCOMPARE(asked.layout, layout.engine_layout);
    // Rows count only where they are enabled, cells only in the grid.
    QCOMPARE(asked.rows, layout.rows ? 17u : 0u);
    QCOMPARE(asked.cell_width, layout.grid ? 8u : 0u);
  }

  // A set stands in for the typed list, which waits until the set goes.
  const auto asked_after = [&](const std::function<void()>& change) {
    const std::size_t before = preview.source->count();
    change();
    preview.wait();
    return preview.source->at(before);
  };
  QLineEdit* chars = preview.window.edit(vellicor::FieldChars);
  CutRequest asked = asked_after([&] { chars->setText(QStringLiteral("AB")); });
  QCOMPARE(asked.chars, std::optional<std::string>("AB"));
  asked = asked_after([&] {
    sheet.charset_box()->setCurrentIndex(sheet.charset_box()->findData(QStringLiteral("cp437")));
  });
  QVERIFY(!chars->isEnabled());
  QCOMPARE(asked.chars, std::nullopt);
  QCOMPARE(asked.sheet.charset, VELLICOR_CHARSET_CP437);
  asked = asked_after([&] { sheet.charset_box()->setCurrentIndex(0); });
  QVERIFY(chars->isEnabled());
  QCOMPARE(asked.chars, std::optional<std::string>("AB"));
  QCOMPARE(asked.sheet.charset, VELLICOR_CHARSET_NONE);

  // Each field's label leads to it by its letter.
  sheet.layout_box()->setCurrentIndex(SheetFields::kGrid);
  const struct {
    Qt::Key key;
    QWidget* field;
  } mnemonics[] = {{Qt::Key_Y, sheet.layout_box()},     {Qt::Key_E, sheet.charset_box()},
                   {Qt::Key_Z, sheet.cell_width_box()}, {Qt::Key_M, sheet.origin_x_box()},
                   {Qt::Key_S, sheet.gap_x_box()},      {Qt::Key_J, sheet.proportional_box()}};
  for (const auto& row : mnemonics) {
    QTest::keyClick(&preview.window, row.key, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), row.field);
  }
  sheet.layout_box()->setCurrentIndex(SheetFields::kRows);
  QTest::keyClick(&preview.window, Qt::Key_W, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), sheet.rows_box());
  preview.wait();
}

void PreviewSheetTest::refusedLayoutSaysWhyInTheStatusLine() {
  Window preview;
  preview.choose_grid(kCellWidth, 17);
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("Not one whole cell of the grid fits in the picture of 13 x 17 pixels "
                          "from the grid's origin"));
  QVERIFY(preview.window.view().glyphs().empty());
  QVERIFY(preview.window.view().overlay().cells.empty());

  preview.sheet.layout_box()->setCurrentIndex(SheetFields::kRows);
  preview.sheet.rows_box()->setValue(2);
  preview.wait();
  QCOMPARE(preview.window.status_text(),
           QStringLiteral("The picture's height of 17 pixels does not divide into 2 rows of "
                          "glyphs"));
  QVERIFY(preview.window.view().overlay().band_edges.empty());
}

void PreviewSheetTest::convertWritesWhatTheConsoleWrites_data() {
  QTest::addColumn<std::vector<std::string>>("picture");
  QTest::addColumn<int>("layout");
  QTest::addColumn<int>("rows");
  QTest::addColumn<QSize>("cell");
  QTest::addColumn<int>("spacing");  // the grid's origin and gaps, across and down
  QTest::addColumn<bool>("proportional");
  QTest::addColumn<QString>("charset");
  QTest::addColumn<QString>("descent");
  QTest::addColumn<QStringList>("options");  // the console's for the same font

  const QStringList grid{"--grid", "5x7", "--grid-origin", "1,1", "--grid-gap", "1,1", "-d", "1"};
  QTest::newRow("grid") << kGrid << int(SheetFields::kGrid) << 0 << QSize(5, 7) << 1 << false
                        << QString() << "1" << grid;
  QTest::newRow("proportional grid")
      << kGrid << int(SheetFields::kGrid) << 0 << QSize(5, 7) << 1 << true << QString() << "1"
      << (grid + QStringList{"--proportional"});
  const std::vector<std::string> two_rows{
      "........", "#.#..##.", "#.#..##.", "#.#.....",  //
      "........", "##..#...", "##..#...", "........",
  };
  QTest::newRow("rows") << two_rows << int(SheetFields::kRows) << 2 << QSize() << 0 << false
                        << QString() << "0" << QStringList{"--rows", "2"};
  const std::vector<std::string> two_marked_rows{
      "###.##..", ".#...#..", ".#..##..",  //
      "###.##..", "#....#..", "#...##..",
  };
  QTest::newRow("marks") << two_marked_rows << int(SheetFields::kMarks) << 2 << QSize() << 0
                         << false << QString() << "0" << QStringList{"--marks", "--rows", "2"};
  // Cells of one pixel: '!', 'A' and '~' of the ascii set, in place.
  std::vector<std::string> chart(6, std::string(16, '.'));
  chart[0][1] = chart[2][1] = chart[5][14] = '#';
  QTest::newRow("set") << chart << int(SheetFields::kGrid) << 0 << QSize(1, 1) << 0 << false
                       << "ascii"
                       << "0" << QStringList{"--grid", "1x1", "--charset", "ascii"};
}

void PreviewSheetTest::convertWritesWhatTheConsoleWrites() {
  QFETCH(std::vector<std::string>, picture);
  QFETCH(int, layout);
  QFETCH(int, rows);
  QFETCH(QSize, cell);
  QFETCH(int, spacing);
  QFETCH(bool, proportional);
  QFETCH(QString, charset);
  QFETCH(QString, descent);
  QFETCH(QStringList, options);
  Window preview(picture);
  SheetFields& sheet = preview.sheet;
  sheet.layout_box()->setCurrentIndex(layout);
  sheet.rows_box()->setValue(rows);
  if (cell.isValid()) {
    sheet.cell_width_box()->setValue(cell.width());
    sheet.cell_height_box()->setValue(cell.height());
  }
  for (QSpinBox* box :
       {sheet.origin_x_box(), sheet.origin_y_box(), sheet.gap_x_box(), sheet.gap_y_box()}) {
    box->setValue(spacing);
  }
  sheet.proportional_box()->setChecked(proportional);
  if (!charset.isEmpty())
    sheet.charset_box()->setCurrentIndex(sheet.charset_box()->findData(charset));
  preview.window.edit(vellicor::FieldDescent)->setText(descent);
  preview.window.edit(vellicor::FieldLeadingBlank)->setText(QStringLiteral("1"));
  const std::string written = preview.folder.file("preview.bdf");
  preview.window.edit(vellicor::FieldOutputPath)->setText(QString::fromStdString(written));
  preview.wait();
  const QString cut = preview.window.status_text();
  QVERIFY2(cut.contains(QStringLiteral(" glyphs, codes ")), qPrintable(cut));
  QTest::mouseClick(preview.window.findChild<QPushButton*>(QStringLiteral("convertButton")),
                    Qt::LeftButton);
  QCOMPARE(preview.window.status_text(), cut.section(QLatin1Char(','), 0, 0) +
                                             QStringLiteral(" written to ") +
                                             QString::fromStdString(written));

  const std::string console_font = preview.folder.file("console.bdf");
  QProcess console;
  console.start(QString::fromStdString((vellicor::test::binary_dir() / "cvellicor").string()),
                QStringList{"-o", QString::fromStdString(console_font), "-l", "1"} + options +
                    QStringList{QString::fromStdString(preview.picture)});
  QVERIFY(console.waitForFinished());
  QCOMPARE(console.exitCode(), 0);
  const auto font = vellicor::test::read_file(written);
  QVERIFY(!font.empty());
  QVERIFY(font == vellicor::test::read_file(console_font));
}

QTEST_MAIN(PreviewSheetTest)
#include "preview_sheet_test.moc"
