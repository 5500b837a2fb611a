// The strip layout: one row of glyphs standing side by side, cut column by
// column.
#pragma once

#include <cstdint>

#include "engine/core/framing.hpp"
#include "engine/layout/glyph_boxes.hpp"
#include "engine/picture/ink_map.hpp"

namespace vellicor {

// Walks the columns of map left to right and cuts them into glyphs: a run of
// columns holding ink is a glyph, blank columns end it, and up to
// allowed_blank_columns of them may stand inside a glyph once.
// Under Framing::kMarginStrip only ink below row 0 makes a column hold ink,
// column 0 never opens a glyph and a glyph still open at the right edge is
// dropped; under Framing::kByInk every pixel counts and a glyph at either
// edge is kept.
// boxes receives the glyphs and the totals (the tallest ink column counts
// columns in no glyph too). Work is bounded by the held columns: those right
// of them are blank and are taken in one step.
ResultCode cut_strip(const InkMap& map, std::uint8_t allowed_blank_columns, Framing framing,
                     GlyphBoxes& boxes);

}  // namespace vellicor
