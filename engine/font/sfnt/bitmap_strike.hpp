// The embedded bitmap strike: EBDT holds each glyph's image, EBLC says
// where each one is and what size the strike is for. One strike, at the
// font's own pixel size, every glyph in one index subtable of format 1
// (32-bit offsets, so EBDT may pass 64 KiB) whose images are of format 7:
// big metrics, which allow negative bearings and a box of any size per
// glyph, then the bits row after row without padding. A blank glyph is an
// image of no rows, its metrics alone.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/font/glyph_record.hpp"
#include "engine/font/sfnt/sfnt_bytes.hpp"
#include "engine/font/sfnt/sfnt_plan.hpp"

namespace vellicor {

// Starts the EBDT table: its version.
void begin_ebdt(SfntBytes& ebdt);

// Appends glyph's image, its bits from bitmap (of glyph's size).
void append_strike_image(const GlyphBitmap& bitmap, const SfntGlyph& glyph,
                         std::uint8_t vertical_advance, SfntBytes& ebdt);

// Sets the advance of the image that starts at image_offset in ebdt.
void set_strike_advance(SfntBytes& ebdt, std::size_t image_offset, std::uint8_t advance);

// The bytes append_strike_image appends for glyph.
std::size_t strike_image_bytes(const SfntGlyph& glyph);

// The EBLC table locating plan's glyph images, which follow one another in
// glyph order from the start of EBDT's data, right after its header.
SfntBytes make_eblc(const SfntPlan& plan);

// The bytes begin_ebdt writes, where the first image starts.
constexpr std::size_t kEbdtHeaderBytes = 4;

}  // namespace vellicor
