// The font's box by each framing's rules.
#include "engine/font/font_frame.hpp"

#include <algorithm>

#include "engine/core/limits.hpp"

namespace vellicor {

namespace {

// SWIDTH is in thousandths of the em, the em being the pixel size.
constexpr std::uint64_t kScalableUnitsPerEm = 1000;
constexpr std::uint64_t kPointsPerInch = 72;

}  // namespace

std::uint64_t FontFrame::scalable_width(std::uint64_t advance) const {
  if (framing == Framing::kByInk) {
    if (height == 0) return 0;
    return (advance * kScalableUnitsPerEm + height / 2) / height;
  }
  return advance * kBdfScalableUnitsPerPoint / (width * kBdfResolutionDpi);
}

std::uint64_t FontFrame::lines_above(std::uint32_t top, std::uint32_t upper_blank) const {
  // In the margin strip row 0 lies above the box, so a glyph inked there
  // with no upper blank starts with its ink instead of a line above the box.
  const std::uint64_t above = std::uint64_t{upper_blank} + top;
  return above > first_row ? above - first_row : 0;
}

FontFrame frame_font(const ConversionOptions& options, const FontMeasure& measure,
                     Framing framing) {
  FontFrame frame;
  frame.framing = framing;
  frame.width = std::uint64_t{measure.widest} + options.leading_blank + options.trailing_blank;
  frame.descent = options.descent;
  const std::uint64_t blank_lines = std::uint64_t{options.upper_blank} + options.lower_blank;
  if (framing == Framing::kMarginStrip) {
    frame.height = measure.tallest + blank_lines;
    frame.ascent = std::int64_t{measure.tallest} - options.descent;
    frame.size = frame.width;
    frame.first_row = 1;
    return frame;
  }
  const std::uint32_t ink_rows =
      measure.deepest >= measure.topmost ? measure.deepest - measure.topmost + 1 : 0;
  frame.height = ink_rows + blank_lines;
  frame.ascent = static_cast<std::int64_t>(frame.height) - options.descent;
  frame.size = std::max<std::uint64_t>(
      1, (frame.height * kPointsPerInch + kBdfResolutionDpi / 2) / kBdfResolutionDpi);
  frame.first_row = measure.topmost;
  return frame;
}

}  // namespace vellicor
