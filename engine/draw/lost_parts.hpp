// What a drawing of a font cannot carry back: the parts of the font that
// the converted picture will not hold as they were, one sentence each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

// Adds to lost a sentence for each part of font that the drawing of the
// glyphs at indices loses: glyph names other than the converter gives
// (uniXXXX with a list, charNNNN without), properties it does not write,
// further sizes, scalable widths other than it computes for a box of
// box_height rows.
void note_lost_parts(const LoadedFont& font, const std::vector<std::size_t>& indices,
                     bool uses_list, std::int64_t box_height, std::vector<std::string>& lost);

}  // namespace vellicor
