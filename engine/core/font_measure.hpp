// The font-wide figures that one cut of the picture finds, which the header
// and every glyph record are written from.
#pragma once

#include <cstdint>

namespace vellicor {

struct FontMeasure {
  std::uint32_t glyph_count = 0;
  std::uint32_t tallest = 0;  // largest ink span of any ink column, in rows
  std::uint32_t widest = 0;   // largest glyph width, in columns
  std::uint32_t deepest = 0;  // lowest last ink row of any glyph, counted from the top
  std::uint32_t topmost = 0;  // highest first ink row of any glyph
};

}  // namespace vellicor
