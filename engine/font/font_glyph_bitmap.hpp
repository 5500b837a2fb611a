// A font's glyph as bits, the one source every writer of a format other than
// BDF reads its glyphs from, so each format shows what the BDF record shows.
#pragma once

#include "engine/font/font_model.hpp"
#include "engine/font/glyph_record.hpp"
#include "engine/picture/ink_map.hpp"

namespace vellicor {

// Fills bitmap with glyph of font, whose boxes were cut from map: a picture
// glyph in its frame, a blank character as the blank record it writes.
void font_glyph_bitmap(const FontModel& font, const InkMap& map, const FontGlyph& glyph,
                       GlyphBitmap& bitmap);

}  // namespace vellicor
