// What the Preview draws over a sheet's picture besides the glyph boxes: the
// grid's cells and the gaps between them, or the bands' edges, and the
// baselines the layout puts in every cell row or band. Picture pixels.
#pragma once

#include <QRect>
#include <QSize>
#include <cstdint>
#include <vector>

#include "dialog/glyph_source.hpp"

namespace vellicor::dialog {

struct SheetOverlay {
  std::vector<QRect> cells;     // whole cells, row by row, left to right
  std::vector<QRect> gaps;      // the skipped strips between neighbouring cells
  std::vector<int> band_edges;  // rows where a band after the first begins
  std::vector<int> baselines;   // rows above which a baseline runs
};

// The overlay of sheet on a picture of size pixels with descent rows below
// each baseline. A strip of one band, a grid with no whole cell and bands that
// do not divide the height have none: the cut refuses those.
SheetOverlay sheet_overlay(const SheetSettings& sheet, QSize picture, std::uint32_t descent);

}  // namespace vellicor::dialog
