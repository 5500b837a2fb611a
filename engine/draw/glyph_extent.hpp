// Where a loaded glyph's ink lies relative to its origin: the box a drawing
// must leave room for, whatever blank margins the glyph's own box holds.
#pragma once

#include <cstdint>

#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

struct GlyphExtent {
  bool has_ink = false;
  // Columns from the origin (right exclusive) and rows above the baseline
  // (top exclusive, the row just above the baseline is 0) that hold ink.
  std::int64_t left = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  std::int64_t top = 0;
};

// The extent of glyph's ink; has_ink false for a glyph without any. The
// glyph's lines must hold height lines of its stride.
GlyphExtent glyph_extent(const LoadedGlyph& glyph);

}  // namespace vellicor
