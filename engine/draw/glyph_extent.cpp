// The ink box of a loaded glyph, relative to its origin.
#include "engine/draw/glyph_extent.hpp"

#include <algorithm>

namespace vellicor {

GlyphExtent glyph_extent(const LoadedGlyph& glyph) {
  GlyphExtent extent;
  for (std::uint32_t row = 0; row < glyph.height; ++row) {
    // Rows count down from the top line; y counts up from the baseline.
    const std::int64_t y = std::int64_t{glyph.y_offset} + glyph.height - 1 - row;
    for (std::uint32_t column = 0; column < glyph.width; ++column) {
      if (!glyph.ink(column, row)) continue;
      const std::int64_t x = std::int64_t{glyph.x_offset} + column;
      if (!extent.has_ink) {
        extent = {true, x, x + 1, y, y + 1};
        continue;
      }
      extent.left = std::min(extent.left, x);
      extent.right = std::max(extent.right, x + 1);
      extent.bottom = std::min(extent.bottom, y);
      extent.top = std::max(extent.top, y + 1);
    }
  }
  return extent;
}

}  // namespace vellicor
