// The PSF2 writer: a font model and the ink map its boxes were cut from, as
// a Linux console font with a Unicode table.
#pragma once

#include <cstdint>

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// What the kernel's console takes (drivers/tty/vt/vt.c, con_font_set): at
// most 512 glyphs, cells 1 to 64 pixels wide and 1 to 128 tall. Kernels
// before the 64x128 change of 2023, and setfont before it, take 32x32 at
// most; the VGA text console takes 8-pixel-wide cells only.
constexpr std::uint64_t kPsfMostGlyphs = 512;
constexpr std::uint64_t kPsfMostCellWidth = 64;
constexpr std::uint64_t kPsfMostCellHeight = 128;

// Writes the whole font as PSF2: the header, one bitmap per position in the
// font's cell (the font's bounding box, each glyph placed at its offsets in
// it), then the Unicode table, one entry per position. Glyphs stand in font
// order but for position 32 (below). A font
// made with a list maps each glyph to its listed character; one without maps
// each glyph to its code taken as a code point. The framebuffer and VGA
// consoles load 256 or 512 glyphs only, so a smaller font is filled up to
// that many with blank glyphs that map to nothing. The console clears the
// screen with the glyph at position 32, so the font's space stands there
// when it has one (trading places with the glyph there), else such a blank
// glyph where there is room for one.
// Refuses, writing nothing, with kUnusableInput: more than kPsfMostGlyphs
// glyphs (detail kPsfGlyphCount), a cell outside the console's limits
// (kPsfCellSize). kFileAccess (detail kFileAccess) when a write fails.
ResultCode write_psf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail);

}  // namespace vellicor
