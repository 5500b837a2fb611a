// The font as a Windows font library (.fon): a 16-bit Windows executable
// holding one raster font resource of the version 3.0 format, code page 1252.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Writes font, whose glyphs are cut from map, to file. A FNT font codes its
// characters in single bytes: a font made with a list takes each
// character's Windows-1252 byte, a font without one each glyph's code as the
// byte. A glyph without a byte (a character outside code page 1252, a code
// past 255) is left out, its code appended to *left_out (when not null) in
// font order; a list's glyphs past its last character have no code and are
// left out unlisted. Codes between the first and the last without a glyph
// show the default character's: DEFAULT_CHAR where it has a byte, else '?',
// else the first glyph of the picture.
// FNT glyphs have a width and no offsets: each glyph stands in a cell as
// tall as the font and as wide as its advance, its box at its offsets. A
// box reaching left of the origin or past the advance widens the cell to
// hold it, so no ink is lost and such a glyph advances by the wider cell.
// Figures and names are the BDF header's: FONT_ASCENT and FONT_DESCENT (the
// cell grows past them only to hold a glyph's box), PIXEL_SIZE,
// FAMILY_NAME, WEIGHT_NAME and SLANT where the header states them.
// Refuses, writing nothing: kUnusableInput (detail kFonNothingLeft) when no
// glyph has a byte; kBadArgument, detail kGlyphTooLarge when a cell passes
// FNT's 16-bit figures, kFontTooLarge the file 4 GiB. kFileAccess (detail kFileAccess)
// when a write fails. Holds a fixed table of the 256 codes, the left-out
// codes, and one glyph's bitmap at a time.
ResultCode write_fon_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          std::vector<std::uint32_t>* left_out, ErrorDetail* detail);

}  // namespace vellicor
