// A pixel glyph as outlines: every ink pixel a unit square, the squares of
// each 4-connected group of pixels merged into one outline, for the outline
// formats (TrueType glyf) to scale and store.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/glyph_record.hpp"

namespace vellicor {

// A corner of an outline in font pixels: x to the right of the glyph origin,
// y up from the baseline.
struct OutlinePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// A closed outline: its corners in order, the last joined back to the first
// (not repeated). Every point is a corner: consecutive points differ in
// exactly one coordinate and no point lies on the line through its
// neighbours.
struct Contour {
  std::vector<OutlinePoint> points;
};

// Replaces contours with the outlines of bitmap's ink. The ink lies on the
// right of every edge, as TrueType wants: an outer outline runs clockwise
// (y up), a hole's counter-clockwise. Each contour is a simple polygon; two
// contours never cross or share an edge, only corner points where pixels
// touch diagonally (pixels touching only at a corner belong to separate
// outlines), so nonzero and even-odd filling both give exactly the ink.
// Memory and time grow with the bitmap's box, not beyond.
void trace_outline(const GlyphBitmap& bitmap, std::vector<Contour>& contours);

}  // namespace vellicor
