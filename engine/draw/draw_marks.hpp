// A marked strip drawing: bands of glyphs, each under a red mark as long as
// its advance in the band's top row, the baseline descent rows above the
// band's bottom.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/draw/drawn_picture.hpp"
#include "engine/draw/sheet_plan.hpp"
#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

// Draws the glyphs at indices of font into picture by plan (a marks plan);
// every glyph advances at least one pixel.
void draw_marks(const LoadedFont& font, const std::vector<std::size_t>& indices,
                const SheetPlan& plan, DrawnPicture& picture);

}  // namespace vellicor
