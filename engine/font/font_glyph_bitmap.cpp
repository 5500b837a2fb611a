#include "engine/font/font_glyph_bitmap.hpp"

namespace vellicor {

void font_glyph_bitmap(const FontModel& font, const InkMap& map, const FontGlyph& glyph,
                       GlyphBitmap& bitmap) {
  if (glyph.is_blank) {
    blank_bitmap(font.frame_of_blank(glyph), glyph.advance, bitmap);
  } else {
    glyph_bitmap(map, font.options(), font.frame_of(*glyph.box), *glyph.box, bitmap);
  }
}

}  // namespace vellicor
