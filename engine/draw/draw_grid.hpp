// A grid drawing: one glyph a cell, row by row, grey separator lines around
// the cells, the baseline descent rows above each cell's bottom.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/draw/drawn_picture.hpp"
#include "engine/draw/sheet_plan.hpp"
#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

// Draws the glyphs at indices of font into picture by plan (a grid plan).
void draw_grid(const LoadedFont& font, const std::vector<std::size_t>& indices,
               const SheetPlan& plan, DrawnPicture& picture);

}  // namespace vellicor
