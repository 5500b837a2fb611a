// The font as an X11 PCF file, in the layout the X font compiler writes by
// default: big-endian tables, bits most significant first, glyph lines
// padded to 4 bytes, scan unit 1.
#pragma once

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Writes font, whose glyphs are cut from map, to file: the tables
// properties, accelerators, metrics, bitmaps, encodings, scalable widths,
// glyph names and BDF accelerators. The glyphs, metrics and properties are
// those of the font's BDF file, each glyph in its own box (the X font
// compiler pads the glyphs of a character-cell font to the cell, which moves
// no ink). Codes above 0xFFFF, and glyphs past the
// 65,535th, stay without an encoding, as PCF's encodings hold 16 bits.
// Fails with kBadArgument: detail kGlyphTooLarge when a glyph's figures
// exceed PCF's 16-bit metrics, kFontTooLarge the file 4 GiB; kFileAccess (detail
// kFileAccess) when a write fails. Like every stage, throws std::bad_alloc
// when memory runs out. Holds 24 bytes a glyph for the tables that precede
// the bitmaps, and one glyph's bitmap at a time.
ResultCode write_pcf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail);

}  // namespace vellicor
