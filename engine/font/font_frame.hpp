// The font's box and the figures that follow from it: how tall the box is,
// where the baseline and each picture row fall in it, and the sizes and
// scalable widths the records and the header state.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/font_measure.hpp"
#include "engine/core/framing.hpp"
#include "engine/core/limits.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

struct FontFrame {
  Framing framing = Framing::kMarginStrip;
  std::uint64_t width = 0;     // the widest glyph with its side blanks
  std::uint32_t ink_rows = 0;  // rows of the picture's ink the box is made from
  std::uint64_t height = 0;    // lines of the box: ink rows and the upper and lower blanks
  std::uint64_t descent = 0;   // lines of the box below the baseline
  std::int64_t ascent = 0;     // FONT_ASCENT
  std::uint64_t size = 0;      // SIZE: the point size at kBdfResolutionDpi
  // The picture row drawn on the first line under the upper blank lines.
  std::uint32_t first_row = 0;
  // FONTBOUNDINGBOX, which holds every glyph's box: in a strip the font's
  // box, from the descent below the baseline; in a sheet the union of its
  // glyphs' ink boxes.
  std::uint64_t bounds_width = 0;
  std::uint64_t bounds_height = 0;
  std::int64_t bounds_x = 0;
  std::int64_t bounds_y = 0;

  // SWIDTH of a glyph advancing advance pixels: thousandths of the box
  // height when framed by the ink; in the margin strip the advance over the
  // point size (the font's width) at kBdfResolutionDpi, truncated.
  std::uint64_t scalable_width(std::uint64_t advance) const {
    constexpr std::uint64_t kScalableUnitsPerEm = 1000;
    if (framing == Framing::kByInk) {
      return height != 0 ? (advance * kScalableUnitsPerEm + height / 2) / height : 0;
    }
    return advance * kBdfScalableUnitsPerPoint / (width * kBdfResolutionDpi);
  }
  // Lines of a record above the first ink row top: the upper blank lines and
  // the rows between first_row and top. In the margin strip row 0 lies above
  // the box, so a glyph inked there with no upper blank starts with its ink
  // instead of a line above the box.
  std::uint64_t lines_above(std::uint32_t top, std::uint32_t upper_blank) const {
    const std::uint64_t above = std::uint64_t{upper_blank} + top;
    return above > first_row ? above - first_row : 0;
  }
  // Whether a blank character's record is empty (no bitmap lines) rather
  // than a box of blank lines.
  bool empty_blanks() const { return framing == Framing::kByInk; }
};

// The frame of the font that options and measure describe, by framing's
// rules. Under Framing::kMarginStrip the box is as tall as the tallest ink
// column, SIZE is the font's width and FONT_ASCENT is the tallest column
// less the descent. Under Framing::kByInk the box runs from measure.topmost
// to measure.deepest; ascent and descent fill it, SIZE and SWIDTH follow
// from its height.
FontFrame frame_font(const ConversionOptions& options, const FontMeasure& measure, Framing framing);

// The font-wide frame over the frames of a strip's bands: as wide as the
// widest, and from the deepest descent to the highest ascent. The bands
// share their descent, so every band's boxes lie in it.
FontFrame frame_of_bands(const FontFrame* frames, std::size_t count);

// The frame of a sheet whose glyphs place themselves in cells or bands of
// place_height rows below the marks: ascent and descent fill the place, and
// the bounds are the union of the glyphs' ink boxes.
struct PlacedBounds {
  std::int64_t left = 0, right = 0, bottom = 0, top = 0;  // right and top exclusive
  bool any = false;
};
FontFrame frame_placed(const ConversionOptions& options, std::uint32_t place_height,
                       const PlacedBounds& bounds);

}  // namespace vellicor
