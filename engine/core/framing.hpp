// The two sets of rules by which a picture's glyphs are cut and placed in the
// font's box.
#pragma once

#include <cstdint>

namespace vellicor {

enum class Framing : std::uint8_t {
  // The plain conversion's strip. Row 0 is a margin: a column whose only ink
  // lies there is blank, and picture row 1 is drawn right under the upper
  // blank lines. Column 0 never opens a glyph, a glyph still open at the right
  // edge is dropped, and the box is as tall as the tallest ink column.
  kMarginStrip,
  // Every row and column of the picture is part of it. The font's box runs
  // from the first to the last row holding ink anywhere, every glyph lies
  // inside it, and a glyph touching either edge is kept.
  kByInk,
};

}  // namespace vellicor
