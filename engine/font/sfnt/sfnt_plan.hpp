// The first pass of the sfnt writers over a font: every glyph's figures in
// pixels, the font-wide figures the tables state, the unit the outlines and
// metrics are measured in, and the bitmap strike's images.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/font_model.hpp"
#include "engine/font/sfnt/sfnt_bytes.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// A code that no character map entry names: .notdef's, and codes past
// Unicode's last.
constexpr std::uint32_t kSfntNoCode = 0xFFFFFFFF;

// One glyph of the sfnt font. The strike's big glyph metrics hold one byte
// a figure, so every figure fits one here.
struct SfntGlyph {
  std::uint32_t code = kSfntNoCode;
  std::uint8_t width = 0;  // the bitmap's columns and lines; 0 for a blank glyph
  std::uint8_t height = 0;
  std::uint8_t advance = 0;
  std::int8_t left = 0;  // the bitmap's left column, from the origin
  std::int8_t top = 0;   // the line above the bitmap, up from the baseline
};

struct SfntPlan {
  // Glyph ids in order: .notdef at 0 (an empty glyph, as no glyph of the font
  // stands for a missing character), then the font's glyphs in font order.
  std::vector<SfntGlyph> glyphs;
  std::uint32_t pixel_size = 0;       // the font's height: the strike's pixels per em
  std::uint32_t units_per_pixel = 1;  // font units in a pixel; pixels per em times this is the em
  std::int32_t ascent = 0;            // pixels above the baseline
  std::int32_t descent = 0;           // pixels below it
  // The union of the bitmaps' boxes, in pixels (all 0 when none has ink).
  std::int32_t x_min = 0, y_min = 0, x_max = 0, y_max = 0;
  bool fixed_pitch = false;  // every glyph advances as far
  // Heights of the ink of 'H' and 'x', when the font has them.
  std::int32_t cap_height = 0;
  std::int32_t x_height = 0;

  std::uint32_t units_per_em() const { return pixel_size * units_per_pixel; }
};

// The most glyphs an sfnt font holds: glyph ids have 16 bits, and 0xFFFF is
// no glyph's.
constexpr std::size_t kSfntMostGlyphs = 0xFFFF;

// Reads every glyph of font, whose boxes were cut from map, into plan and
// its image into ebdt (the EBDT table, from its header on). Fails with
// kGlyphTooLarge when a glyph's figure or the font's height leaves what the
// strike's one-byte metrics hold, plan and ebdt then unfinished.
ErrorDetail plan_sfnt_font(const FontModel& font, const InkMap& map, SfntPlan& plan,
                           SfntBytes& ebdt);

}  // namespace vellicor
