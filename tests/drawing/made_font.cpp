// Glyphs drawn as text, and their ink read back, for the drawing's tests.
#include "tests/drawing/made_font.hpp"

namespace vellicor::test {

LoadedGlyph made_glyph(std::int64_t code, std::int32_t advance, std::int32_t x_offset,
                       std::int32_t y_offset, const std::vector<std::string>& rows) {
  LoadedGlyph glyph;
  glyph.code = code;
  glyph.advance = advance;
  glyph.x_offset = x_offset;
  glyph.y_offset = y_offset;
  glyph.height = static_cast<std::uint32_t>(rows.size());
  glyph.width = rows.empty() ? 0 : static_cast<std::uint32_t>(rows.front().size());
  glyph.lines.assign(glyph.stride() * glyph.height, 0);
  for (std::uint32_t row = 0; row < glyph.height; ++row) {
    for (std::uint32_t column = 0; column < glyph.width; ++column) {
      if (rows[row][column] != '#') continue;
      glyph.lines[row * glyph.stride() + column / 8] |=
          static_cast<std::uint8_t>(0x80u >> (column % 8));
    }
  }
  return glyph;
}

std::set<std::pair<std::int64_t, std::int64_t>> ink_from_origin(const LoadedGlyph& glyph) {
  std::set<std::pair<std::int64_t, std::int64_t>> ink;
  for (std::uint32_t row = 0; row < glyph.height; ++row) {
    for (std::uint32_t column = 0; column < glyph.width; ++column) {
      if (!glyph.ink(column, row)) continue;
      ink.emplace(std::int64_t{glyph.x_offset} + column,
                  std::int64_t{glyph.y_offset} + glyph.height - 1 - row);
    }
  }
  return ink;
}

}  // namespace vellicor::test
