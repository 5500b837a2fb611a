// Hand-made LoadedFonts for the drawing's tests: glyphs drawn as text.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/fontfile/loaded_font.hpp"

namespace vellicor::test {

// A glyph of code advancing advance, its box's lower left corner at
// (x_offset, y_offset), rows top first ('#' ink, anything else blank).
LoadedGlyph made_glyph(std::int64_t code, std::int32_t advance, std::int32_t x_offset,
                       std::int32_t y_offset, const std::vector<std::string>& rows);

// The ink pixels of glyph as (x, y) from its origin, y up from the baseline
// (0 is the row just above it).
std::set<std::pair<std::int64_t, std::int64_t>> ink_from_origin(const LoadedGlyph& glyph);

}  // namespace vellicor::test
