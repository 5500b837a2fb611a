// Prints how long the Preview window's work takes for one picture: loading
// it, one cut through the engine, handing the glyphs to the view, and a
// repaint of the visible part at the start, middle and end of the strip.
// Not a test: run it by hand on a large strip, e.g. one from bench/make_strip:
//   make_strip wide 65536 strip.bmp
//   QT_QPA_PLATFORM=offscreen preview_timing strip.bmp [allowed-blank-columns]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>

#include "dialog/converter_glyph_source.hpp"
#include "dialog/preview_view.hpp"
#include "vellicor/internal/picture_ink.hpp"

using namespace vellicor::dialog;

namespace {

double milliseconds(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fputs("usage: preview_timing PICTURE [ALLOWED-BLANK-COLUMNS]\n", stderr);
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);

  PreviewView view;
  view.resize(940, 320);
  view.show();

  QElapsedTimer timer;
  timer.start();
  vellicor::InkBits ink;
  const vellicor::ResultCode read = vellicor::read_ink_bits(QFile::encodeName(path).constData(),
                                                            VELLICOR_INK_BLACK, ink, nullptr);
  std::printf("read picture %ux%u: %.1f ms, result %d\n", ink.width_px, ink.height_px,
              milliseconds(timer), static_cast<int>(read));
  timer.restart();
  view.set_picture(ink);
  std::printf("hand the picture to the view: %.1f ms\n", milliseconds(timer));

  CutRequest request;
  request.input_path = QFile::encodeName(path).toStdString();
  request.options.allowed_blank_columns =
      static_cast<std::uint8_t>(argc > 2 ? std::atoi(argv[2]) : 1);
  const ConverterGlyphSource source;
  timer.restart();
  CutOutcome outcome = source.cut(request);
  std::printf("cut: %.1f ms, result %d, %zu glyphs\n", milliseconds(timer),
              static_cast<int>(outcome.result), outcome.glyphs.size());

  timer.restart();
  view.set_glyphs(std::move(outcome.glyphs), outcome.report.tallest, 0);
  std::printf("hand the glyphs to the view: %.1f ms\n", milliseconds(timer));

  for (const int zoom : {1, 8})
    for (const char* where : {"start", "middle", "end"}) {
      view.set_zoom(zoom);
      QScrollBar& bar = *view.horizontalScrollBar();
      bar.setValue(where[0] == 's' ? 0 : where[0] == 'm' ? bar.maximum() / 2 : bar.maximum());
      constexpr int kRepaints = 20;
      timer.restart();
      // grab() runs the whole paint of the visible area into a picture.
      for (int repaint = 0; repaint < kRepaints; ++repaint)
        static_cast<void>(view.viewport()->grab());
      std::printf("repaint at the %s (zoom %d): %.2f ms\n", where, view.zoom(),
                  milliseconds(timer) / kRepaints);
    }
  return 0;
}
