// What a layout hands the font stage: the glyphs it found in the ink map, in
// reading order, and the figures of the whole cut.
#pragma once

#include <cstdint>
#include <deque>

#include "engine/core/font_measure.hpp"

namespace vellicor {

// One glyph as the layout ends it.
struct GlyphBox {
  std::uint32_t number = 0;  // 1, 2, ... in reading order
  std::uint32_t start = 0;   // first column, never 0
  std::uint32_t width = 0;   // columns, at least 1
  std::uint32_t top = 0;     // first row holding ink in any of the glyph's columns
  std::uint32_t bottom = 0;  // last such row
};

struct GlyphBoxes {
  // A deque grows in small blocks: a strip of 65,536 glyphs never holds its
  // boxes twice, as a vector does while it grows.
  std::deque<GlyphBox> boxes;
  // The glyph count, the widest glyph, the lowest ink row of any glyph and
  // the tallest ink column, which the font's figures are made from.
  FontMeasure totals;
};

}  // namespace vellicor
