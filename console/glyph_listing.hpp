// The --list output: one line per glyph of the font a conversion would write,
// and the characters of a list that found no glyph.
#pragma once

#include <cstdint>

#include "vellicor/vellicor.h"

namespace vellicor::console {

// What print_glyph_line needs to know of the run, and what it has shown.
struct ListingStyle {
  bool with_list = false;        // a character list names the glyphs
  const char* list = nullptr;    // that list's text, for its unpaired characters
  std::uint32_t lines = 0;       // glyph lines printed
  std::uint32_t characters = 0;  // of them, lines of a listed character
};

// Prints the heading line of the listing.
void print_listing_heading();

// A GlyphCallback printing glyph's line, after the heading for the first
// glyph; context is a ListingStyle, which counts the line. A glyph of a
// listed run that has no character (the picture holds more glyphs than the
// list names) is marked "(no character)". Characters that cannot be shown
// as one visible cell (controls, format and combining characters) appear as
// their code, "U+202E". Returns 0.
std::int32_t VELLICOR_CALL print_glyph_line(void* context, const GlyphInfo* glyph);

// After a listing that stopped short of the end of style's list (it names
// more characters than the picture holds glyphs), prints a line for every
// character past those shown, marked "(no glyph)". Prints nothing when every
// character was shown or no glyph line was printed; a second call prints
// nothing.
void print_unpaired_characters(ListingStyle& style);

}  // namespace vellicor::console
