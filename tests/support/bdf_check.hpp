// Reads BDF fonts back with FreeType, an independent consumer, and compares
// each glyph's rendered ink with the picture columns it was cut from.
#pragma once

#include <gtest/gtest.h>

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace vellicor::test {

// One ink pixel in font coordinates: x to the right of the glyph origin, y up
// from the baseline (the pixel covers y to y + 1).
struct InkPixel {
  int x = 0;
  int y = 0;
  auto operator<=>(const InkPixel&) const = default;
};

struct ExpectedGlyph {
  std::uint32_t code = 0;
  std::vector<InkPixel> ink;  // any order
};

// The ink of picture columns [first_column, first_column + width) as a glyph
// shows it: picture pixel (x, r) lands on (x_of_first_column + x - first_column,
// y_of_row0 - r). rows are drawn as for make_one_bit_bmp ('#' is ink).
std::vector<InkPixel> picture_ink(const std::vector<std::string>& rows, std::uint32_t first_column,
                                  std::uint32_t width, int x_of_first_column, int y_of_row0);

// FreeType opens the font at path, counts exactly expected.size() glyphs, and
// renders the glyph of each expected code with exactly the expected ink.
::testing::AssertionResult font_renders_as(const std::string& path,
                                           const std::vector<ExpectedGlyph>& expected);

// FreeType opens the font and counts glyph_count glyphs (ink not compared).
::testing::AssertionResult font_opens_with(const std::string& path, long glyph_count);

// What the X font compiler makes of a BDF file.
enum class ToolVerdict { kAccepted, kRejected, kAbsent };
ToolVerdict bdftopcf_verdict(const std::string& path);
// The X font compiler writing its PCF of the BDF file at path to pcf_path.
ToolVerdict bdftopcf_verdict(const std::string& path, const std::string& pcf_path);
// fonttosfnt (xfonts-utils) turning the BDF file into an OpenType bitmap font
// at otb_path.
ToolVerdict fonttosfnt_verdict(const std::string& path, const std::string& otb_path);

// How same_glyphs compares bitmaps: exactly (size, bits and offsets), or
// as their ink alone, where the reference may hold blank lines and columns
// around it (the X font compiler pads each glyph of a character-cell font to
// the cell).
enum class GlyphMatch { kExact, kInk };

// FreeType loads font and reference to the same glyphs: the same charmap
// codes, and for every code the same bitmap and offsets (as match says) and
// advance.
::testing::AssertionResult same_glyphs(const std::string& font, const std::string& reference,
                                       GlyphMatch match = GlyphMatch::kExact);

// FreeType draws every glyph of font from its outline (never a bitmap
// strike) with the monochrome rasteriser, at the pixel size of its own
// embedded strike (or else of reference's first strike), and gets the same charmap codes and for
// every code the same ink and advance as reference's bitmaps. font's em must be a whole number of
// units per pixel at that size; an outline has no box beyond its ink, so
// blank lines and columns round the reference's bitmaps do not count.
::testing::AssertionResult same_glyphs_as_outlines(const std::string& font,
                                                   const std::string& reference);

// True when this build reads written fonts back with independent readers:
// FreeType and the X font tools (not in a WebAssembly build, which has no
// FreeType and starts no programs). The checks here that answer with a value
// rather than an AssertionResult are compared only then.
bool reads_fonts_back();

// The code points of the font's Unicode charmap, in rising order; empty when
// FreeType cannot open the font or gives it no Unicode charmap.
std::vector<std::uint32_t> unicode_charmap(const std::string& path);

// FreeType's advance in pixels of the glyph of code in the Unicode charmap
// (the first bitmap strike selected), or -1 when there is none.
long unicode_advance(const std::string& path, std::uint32_t code);

// The lines of a font's text that begin with keyword, in order.
std::vector<std::string> lines_with(const std::string& font, const std::string& keyword);

// A font property as FreeType's BDF driver reads it: strings as they are,
// numbers in decimal; empty when absent.
std::string bdf_property(const std::string& path, const char* name);

}  // namespace vellicor::test
