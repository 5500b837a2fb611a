// Large one-bit BMP glyph strips, drawn the same way every time, for the
// benchmarks.
#pragma once

#include <cstdint>
#include <vector>

namespace vellicor::bench {

enum class StripShape {
  kWide,  // one glyph per 8-column cell, 16 rows high
  kTall,  // the wide strip's pixel count as 64 cells, glyph_count / 4 rows high
};

// The whole BMP file of a strip drawn for glyph_count glyphs (at least 4):
// bottom-up rows, palette index 1 black. Every cell holds one glyph of 1 to 5
// ink columns followed by at least two blank columns, and every glyph column
// has ink in the glyph's bottom row, so a conversion allowing one blank column
// inside a glyph finds one glyph per cell. Row 0 holds no ink.
std::vector<std::uint8_t> build_strip(StripShape shape, std::uint32_t glyph_count);

// The glyphs a conversion with one allowed blank column finds in that strip.
std::uint32_t strip_glyph_count(StripShape shape, std::uint32_t glyph_count);

}  // namespace vellicor::bench
