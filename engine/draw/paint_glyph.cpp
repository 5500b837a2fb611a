// Glyph ink into picture pixels.
#include "engine/draw/paint_glyph.hpp"

namespace vellicor {

void paint_glyph(DrawnPicture& picture, const LoadedGlyph& glyph, std::int64_t origin_x,
                 std::int64_t first_above_baseline) {
  // The glyph's top line lies height - 1 rows above its lowest, which is
  // y_offset rows above the baseline.
  const std::int64_t top_row =
      first_above_baseline - (std::int64_t{glyph.y_offset} + glyph.height - 1);
  const std::int64_t left = origin_x + glyph.x_offset;
  for (std::uint32_t row = 0; row < glyph.height; ++row) {
    for (std::uint32_t column = 0; column < glyph.width; ++column) {
      if (!glyph.ink(column, row)) continue;
      picture.at(static_cast<std::uint32_t>(left + column),
                 static_cast<std::uint32_t>(top_row + row)) = kDrawnInk;
    }
  }
}

void fill_picture(DrawnPicture& picture, std::uint32_t width, std::uint32_t height,
                  DrawnColour colour) {
  picture.width = width;
  picture.height = height;
  picture.pixels.assign(static_cast<std::size_t>(width) * height, colour);
}

}  // namespace vellicor
