// The font as an OpenType bitmap font (OTB): one embedded bitmap strike at
// the font's own size and the tables that name it and map its characters,
// no outlines. FreeType, and through it fontconfig, Pango and HarfBuzz,
// load it as a bitmap font, as they load a PCF.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Writes font, whose glyphs are cut from map, to file. Glyph 0 is an
// added empty .notdef (no glyph of a font stands for "no such
// character"); the font's glyphs follow in font order, each bitmap and
// advance as its BDF record has them. Glyph ids have 16 bits, so the
// glyphs past the font's 65,534th are left out. The strike's metrics hold
// a byte a figure: a glyph wider, taller or advancing further than 255
// pixels, a bearing past -128 to 127, or a font taller than 255 lines is
// refused, writing nothing, with kBadArgument (detail kGlyphTooLarge).
// kFileAccess (detail kFileAccess) when a write fails. Holds a few dozen
// bytes a glyph and the strike's images until the file is written.
ResultCode write_otb_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail);

// The codes of the glyphs of font that an OTB or a TTF leaves out, in font
// order: those past the 65,534th.
void sfnt_left_out(const FontModel& font, std::vector<std::uint32_t>& codes);

}  // namespace vellicor
