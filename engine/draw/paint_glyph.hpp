// Painting a loaded glyph's ink into a drawn picture.
#pragma once

#include <cstdint>

#include "engine/draw/drawn_picture.hpp"
#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

// Paints glyph's ink with its origin at column origin_x; the row just above
// the baseline is the picture row first_above_baseline. Every ink pixel must
// fall inside the picture (the sheet plan leaves room for it).
void paint_glyph(DrawnPicture& picture, const LoadedGlyph& glyph, std::int64_t origin_x,
                 std::int64_t first_above_baseline);

// Fills the picture's width x height pixels with colour.
void fill_picture(DrawnPicture& picture, std::uint32_t width, std::uint32_t height,
                  DrawnColour colour);

}  // namespace vellicor
