// The font's box by each framing's rules.
#include "engine/font/font_frame.hpp"

#include <algorithm>

#include "engine/core/limits.hpp"

namespace vellicor {

namespace {

constexpr std::uint64_t kPointsPerInch = 72;

// SIZE of a box height lines tall at kBdfResolutionDpi, at least 1.
std::uint64_t size_of(std::uint64_t height) {
  return std::max<std::uint64_t>(
      1, (height * kPointsPerInch + kBdfResolutionDpi / 2) / kBdfResolutionDpi);
}

// The bounds of a strip: the font's box, from the descent below the baseline.
void set_box_bounds(FontFrame& frame) {
  frame.bounds_width = frame.width;
  frame.bounds_height = frame.height;
  frame.bounds_x = 0;
  frame.bounds_y = -static_cast<std::int64_t>(frame.descent);
}

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
    set_box_bounds(frame);
    return frame;
  }
  frame.ink_rows = measure.deepest >= measure.topmost ? measure.deepest - measure.topmost + 1 : 0;
  frame.height = frame.ink_rows + blank_lines;
  frame.ascent = static_cast<std::int64_t>(frame.height) - options.descent;
  frame.size = size_of(frame.height);
  frame.first_row = measure.topmost;
  set_box_bounds(frame);
  return frame;
}

FontFrame frame_of_bands(const FontFrame* frames, std::size_t count) {
  FontFrame font;
  if (count == 0) return font;
  font = frames[0];
  for (std::size_t i = 1; i < count; ++i) {
    font.width = std::max(font.width, frames[i].width);
    font.ink_rows = std::max(font.ink_rows, frames[i].ink_rows);
    font.ascent = std::max(font.ascent, frames[i].ascent);
  }
  font.height = static_cast<std::uint64_t>(std::max<std::int64_t>(font.ascent, 0)) + font.descent;
  font.size = size_of(font.height);
  set_box_bounds(font);
  return font;
}

FontFrame frame_placed(const ConversionOptions& options, std::uint32_t place_height,
                       const PlacedBounds& bounds) {
  FontFrame frame;
  frame.framing = Framing::kByInk;
  frame.ink_rows = place_height;
  frame.height = place_height;
  frame.descent = options.descent;
  frame.ascent = std::int64_t{place_height} - options.descent;
  frame.size = size_of(frame.height);
  if (bounds.any) {
    frame.bounds_width = static_cast<std::uint64_t>(bounds.right - bounds.left);
    frame.bounds_height = static_cast<std::uint64_t>(bounds.top - bounds.bottom);
    frame.bounds_x = bounds.left;
    frame.bounds_y = bounds.bottom;
  }
  frame.width = frame.bounds_width;
  return frame;
}

}  // namespace vellicor
