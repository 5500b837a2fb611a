// What a layout hands the font stage: the glyphs it found in the ink map, in
// reading order, and the figures of the whole cut.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/core/font_measure.hpp"

namespace vellicor {

// One glyph as the layout ends it.
struct GlyphBox {
  std::uint32_t number = 0;  // 1, 2, ... in reading order
  std::uint32_t start = 0;   // first column
  std::uint32_t width = 0;   // columns; 0 for an empty cell or mark of a sheet
  std::uint32_t top = 0;     // first row holding ink in any of the glyph's columns
  std::uint32_t bottom = 0;  // last such row
  std::uint32_t band = 0;    // the band or grid row it stands in, from 0
  std::uint32_t cell = 0;    // its place in the band, or its grid column, from 0
  // Grids and marks place every glyph themselves: its record's box is its
  // ink, at these offsets from its origin and baseline, and it advances this
  // far. Strip glyphs take all three from their band's frame.
  bool placed = false;
  std::int32_t x_offset = 0;
  std::int32_t y_offset = 0;
  std::uint32_t advance = 0;
};

// The benchmarks' memory bound counts 44 bytes a box.
static_assert(sizeof(GlyphBox) <= 44);

// One band of a strip picture: where it lies and what its cut found, which
// its glyphs' frame is made from.
struct StripBand {
  std::uint32_t first_row = 0;  // the band's top row in the picture
  std::uint32_t rows = 0;
  std::uint32_t glyph_count = 0;
  FontMeasure totals;  // rows counted from first_row
};

struct GlyphBoxes {
  // A deque grows in small blocks: a strip of 65,536 glyphs never holds its
  // boxes twice, as a vector does while it grows.
  std::deque<GlyphBox> boxes;
  // The glyph count, the widest glyph, the lowest ink row of any glyph and
  // the tallest ink column, which the font's figures are made from.
  FontMeasure totals;
  // The bands of a strip cut band by band (empty for one band).
  std::vector<StripBand> bands;
  // Grids and marks: every cell or mark is a box, an empty one too, and a
  // character list pairs with them one by one, blank characters included.
  bool one_per_place = false;
  std::uint32_t places = 0;        // cells of the whole grid, or marks of all bands
  std::uint32_t place_height = 0;  // a cell's height, or a band's below its marks
  std::uint32_t band_count = 0;    // bands or grid rows read
  std::uint32_t grid_columns = 0;  // cells across a grid
  // The advance of an empty cell past the last inked one; 0: the font's
  // blank advance.
  std::uint32_t empty_advance = 0;
  // Places per band of marks, for a list given one line per band.
  std::vector<std::uint32_t> band_places;
};

}  // namespace vellicor
