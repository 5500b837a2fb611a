// The one routine that cuts a picture's columns into glyphs; every scanner
// pass runs it and they differ only in what they do with each glyph.
#pragma once

#include <cstdint>

#include "engine/core/font_measure.hpp"
#include "engine/picture/picture.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// One glyph as the cutter ends it.
struct GlyphSpan {
  std::uint32_t number = 0;  // 1, 2, ... in the order glyphs end (left to right)
  std::uint32_t start = 0;   // first column, never 0
  std::uint32_t width = 0;   // columns, at least 1
  std::uint32_t top = 0;     // first row holding ink in any of the glyph's columns
  std::uint32_t bottom = 0;  // last such row
};

// What a pass does with each glyph the moment it ends.
class GlyphSink {
 public:
  // A failure stops the cut at once and is its result.
  virtual ResultCode on_glyph(const GlyphSpan& glyph) = 0;

 protected:
  ~GlyphSink() = default;
};

// Walks the columns left to right, cuts them into glyphs by the allowed blank
// columns rule and hands each finished glyph to sink. A glyph still open at
// the right edge is dropped. totals receives the glyph count, the widest
// glyph, the lowest ink row of any glyph and the tallest ink column (also of
// columns in no glyph), as far as the cut went. Work is bounded by the delivered pixel bytes: the
// columns right of them are blank and are taken in one step.
ResultCode cut_glyphs(const PictureView& picture, std::uint8_t allowed_blank_columns,
                      GlyphSink& sink, FontMeasure& totals);

}  // namespace vellicor
