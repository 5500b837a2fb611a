// The font's box by each framing's rules.
#include "engine/font/font_frame.hpp"

#include <algorithm>

#include "engine/core/limits.hpp"

namespace vellicor {

namespace {

constexpr std::uint64_t kPointsPerInch = 72;

}  // namespace

FontFrame frame_font(const ConversionOptions& options, const FontMeasure& measure,
                     Framing framing) {
  FontFrame frame;
  frame.framing = framing;
  frame.width = std::uint64_t{measure.widest} + options.leading_blank + options.trailing_blank;
  frame.descent = options.descent;
  const std::uint64_t blank_lines = std::uint64_t{options.upper_blank} + options.lower_blank;
  if (framing == Framing::kMarginStrip) {
    frame.ink_rows = measure.tallest;
    frame.height = measure.tallest + blank_lines;
    frame.ascent = std::int64_t{measure.tallest} - options.descent;
    frame.size = frame.width;
    frame.first_row = 1;
    return frame;
  }
  frame.ink_rows = measure.deepest >= measure.topmost ? measure.deepest - measure.topmost + 1 : 0;
  frame.height = frame.ink_rows + blank_lines;
  frame.ascent = static_cast<std::int64_t>(frame.height) - options.descent;
  frame.size = std::max<std::uint64_t>(
      1, (frame.height * kPointsPerInch + kBdfResolutionDpi / 2) / kBdfResolutionDpi);
  frame.first_row = measure.topmost;
  return frame;
}

}  // namespace vellicor
