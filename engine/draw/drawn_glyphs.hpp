// Which glyphs of a font a drawing holds, and how their codes come back: by
// counting up from the first (-v) or through a character list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

struct DrawnGlyphs {
  std::vector<std::size_t> indices;  // into the font's glyphs, in font order
  bool uses_list = false;            // codes travel in a character list
  std::uint32_t first_code = 0;      // without a list: the first glyph's code (-v)
};

// Whether the font states SPACING "C": every glyph advances the font's width,
// which a conversion writes for -w.
bool states_character_cell(const LoadedFont& font);

// Whether glyph holds any ink.
bool has_ink(const LoadedGlyph& glyph);

// Whether the codes of the glyphs at indices are first, first + 1, ... with
// first a value -v takes, so that a conversion numbers them without a list.
bool codes_count_up(const LoadedFont& font, const std::vector<std::size_t>& indices);

// The glyphs with a code, in font order, before any layout is chosen.
std::vector<std::size_t> glyphs_with_code(const LoadedFont& font);

// Settles drawn for a layout: in marks the glyphs advancing 0 or less are
// left out (a mark cannot be that short); the codes come back through a list
// unless the font is not Unicode and its codes count up by one from a first
// code -v can name (and, in a grid, it does not end with blank glyphs, whose
// empty cells a grid without a list reads as none). A list cannot name a code
// that is no Unicode scalar value, nor one code twice: such glyphs are left
// out. Each kind of glyph left out adds one sentence to lost.
void settle_drawn_glyphs(const LoadedFont& font, bool marks, bool blank_last_cells_lost,
                         DrawnGlyphs& drawn, std::vector<std::string>& lost);

}  // namespace vellicor
