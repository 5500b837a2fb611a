// The Preview shows the ink the font is cut from: an anti-aliased colour PNG
// under each ink rule, its pixels as the view paints them, the engine's ink
// bits and the glyphs the cut finds, all three alike.
#include <QComboBox>
#include <QtTest>
#include <string>
#include <utility>
#include <vector>

#include "dialog/converter_glyph_source.hpp"
#include "dialog/preview_window.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/picture_ink.hpp"

using namespace vellicor::dialog;
using vellicor::InkBits;
using vellicor::test::TempDir;

namespace {

// K black, G dark grey (100), L light grey (180), N green (0, 220, 0: dark
// by its colour alone, not by its luma), T black at alpha 100 (less than half
// opaque), '.' paper: white and wholly transparent. Row 0 holds no ink; the
// right edge is paper.
const std::vector<std::string> kPicture{
    "........................",  //
    "..LKL...GNG...LTL..T..T.",  //
    "..GKG...NNN...TLT..T....",  //
    "..LKL...GNG...LTL.......",  //
    "..GKG....N....L.L..K....",  //
    "..LKL...GNG...LTL.......",  //
    "........................",  //
};

std::vector<std::uint8_t> colour_png() {
  std::vector<std::uint8_t> pixels;
  for (const std::string& row : kPicture) {
    for (const char pixel : row) {
      switch (pixel) {
        case 'K':
          pixels.insert(pixels.end(), {0, 0, 0, 255});
          break;
        case 'G':
          pixels.insert(pixels.end(), {100, 100, 100, 255});
          break;
        case 'L':
          pixels.insert(pixels.end(), {180, 180, 180, 255});
          break;
        case 'N':
          pixels.insert(pixels.end(), {0, 220, 0, 255});
          break;
        case 'T':
          pixels.insert(pixels.end(), {0, 0, 0, 100});
          break;
        default:
          pixels.insert(pixels.end(), {255, 255, 255, 0});
          break;
      }
    }
  }
  return vellicor::test::rgba_png(24, 7, pixels);
}

bool bit_at(const InkBits& ink, int x, int y) {
  const std::uint8_t byte = ink.bits[std::size_t(y) * ink.stride_bytes + std::size_t(x / 8)];
  return (byte >> (7 - x % 8)) & 1u;
}

// Runs of columns with ink below row 0 that stand clear of column 0 and of
// the right edge, as (first column, width), with the first and last row of
// their ink.
struct Run {
  int first, width, top, bottom;
};

std::vector<Run> ink_runs(const InkBits& ink) {
  std::vector<Run> runs;
  const int width = int(ink.width_px);
  for (int x = 1; x < width; ++x) {
    int top = -1, bottom = -1;
    for (int y = 1; y < int(ink.height_px); ++y) {
      if (!bit_at(ink, x, y)) continue;
      if (top < 0) top = y;
      bottom = y;
    }
    if (top < 0) continue;
    if (!runs.empty() && runs.back().first + runs.back().width == x) {
      Run& run = runs.back();
      ++run.width;
      run.top = std::min(run.top, top);
      run.bottom = std::max(run.bottom, bottom);
    } else {
      runs.push_back({x, 1, top, bottom});
    }
  }
  if (!runs.empty() && runs.back().first + runs.back().width == width) runs.pop_back();
  return runs;
}

}  // namespace

class PreviewInkTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void paintsTheEnginesInkAndCutsItsGlyphs_data();
  void paintsTheEnginesInkAndCutsItsGlyphs();
};

void PreviewInkTest::paintsTheEnginesInkAndCutsItsGlyphs_data() {
  QTest::addColumn<int>("box_index");
  QTest::addColumn<std::uint32_t>("rule");
  QTest::addColumn<QList<QPoint>>("glyph_columns");  // (first column, width)
  QTest::newRow("black") << 0 << std::uint32_t{VELLICOR_INK_BLACK}
                         << QList<QPoint>{{3, 1}, {19, 1}};
  QTest::newRow("dark") << 1 << std::uint32_t{VELLICOR_INK_DARK}
                        << QList<QPoint>{{2, 3}, {8, 1}, {10, 1}, {19, 1}};
  QTest::newRow("opaque") << 2 << std::uint32_t{VELLICOR_INK_OPAQUE}
                          << QList<QPoint>{{2, 3}, {8, 3}, {14, 3}, {19, 1}};
  QTest::newRow("auto") << 3 << std::uint32_t{VELLICOR_INK_AUTO}
                        << QList<QPoint>{{2, 3}, {8, 3}, {14, 3}, {19, 1}, {22, 1}};
}

void PreviewInkTest::paintsTheEnginesInkAndCutsItsGlyphs() {
  QFETCH(int, box_index);
  QFETCH(std::uint32_t, rule);
  QFETCH(QList<QPoint>, glyph_columns);
  TempDir folder;
  const std::string path = folder.file("strip.png");
  vellicor::test::write_file(path, colour_png());

  PreviewWindow window(std::make_shared<ConverterGlyphSource>());
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.ink_rule_box()->setCurrentIndex(box_index);
  window.open_picture(QString::fromStdString(path));
  QTRY_VERIFY(!window.cutting());
  PreviewView& view = window.view();
  view.set_zoom(4);

  InkBits ink;
  QCOMPARE(vellicor::read_ink_bits(path.c_str(), rule, ink, nullptr), vellicor::ResultCode::kOk);
  QCOMPARE(ink.width_px, 24u);
  QCOMPARE(ink.height_px, 7u);

  // The glyphs of the cut are the runs of ink columns in the engine's bits,
  // and these are the columns this picture has under the rule.
  const std::vector<Run> runs = ink_runs(ink);
  QCOMPARE(view.glyphs().size(), runs.size());
  QCOMPARE(runs.size(), std::size_t(glyph_columns.size()));
  for (std::size_t index = 0; index < runs.size(); ++index) {
    const GlyphBox& glyph = view.glyphs()[index];
    QCOMPARE(QPoint(runs[index].first, runs[index].width), glyph_columns[qsizetype(index)]);
    QCOMPARE(int(glyph.first_column), runs[index].first);
    QCOMPARE(int(glyph.width), runs[index].width);
    QCOMPARE(int(glyph.top), runs[index].top);
    QCOMPARE(int(glyph.bottom), runs[index].bottom);
  }

  // Every picture pixel, read at the middle of its square on screen: black
  // exactly where the engine's bit is set, white elsewhere.
  QVERIFY(!view.glyphs().empty());
  const GlyphBox& first = view.glyphs().front();
  const QRect box = view.box_on_viewport(0);
  const QPoint origin(box.left() - int(first.first_column) * 4, box.top() - int(first.top) * 4);
  const QImage grab = view.viewport()->grab().toImage();
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 24; ++x) {
      const QColor painted = grab.pixelColor(origin.x() + x * 4 + 2, origin.y() + y * 4 + 2);
      const QColor wanted = bit_at(ink, x, y) ? QColor(Qt::black) : QColor(Qt::white);
      QVERIFY2(painted == wanted, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }
  }
}

QTEST_MAIN(PreviewInkTest)
#include "preview_ink_test.moc"
