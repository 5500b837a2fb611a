// The --list output: one line per glyph of the font a conversion would write,
// and the characters of a list that found no glyph.
#pragma once

#include <cstdint>

#include "console/field_provider.hpp"
#include "vellicor/vellicor.h"

namespace vellicor::console {

// What print_glyph_line needs to know of the run.
struct ListingStyle {
  bool with_list = false;    // a character list or a built-in set names the glyphs
  bool with_places = false;  // a sheet: each glyph's row and cell are shown
};

// The style of request's listing: places for a grid, marks or more than one
// row of glyphs (a rows text the driver will refuse counts as one).
ListingStyle listing_style_of(const ExtendedCommandLine& request);

// Prints the heading line of the listing.
void print_listing_heading(const ListingStyle& style);

// A GlyphCallback printing glyph's line, after the heading for the first
// glyph; context is a ListingStyle. When the list and the picture differ in
// number, a glyph past the list is marked "(no character)" and a character
// past the picture's glyphs "(no glyph)". With places, the glyph's row and
// cell follow, counted from 1: "row 2, cell 5". Characters that cannot be shown
// as one visible cell (controls, format and combining characters) appear as
// their code, "U+202E". Returns 0.
std::int32_t VELLICOR_CALL print_glyph_line(void* context, const GlyphInfo* glyph);

}  // namespace vellicor::console
