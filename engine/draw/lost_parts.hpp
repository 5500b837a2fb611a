// What a drawing of a font cannot carry back: the parts of the font that
// the converted picture will not hold as they were, one sentence each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/fontfile/loaded_font.hpp"

namespace vellicor {

// How the conversion computes a glyph's SWIDTH from its advance: in
// thousandths of the box height (a sheet, a strip framed by its ink), or, in
// the plain conversion's margin strip, over the font's width as its point
// size at the BDF resolution, truncated.
struct ScalableWidthRule {
  std::int64_t box_height = 0;
  std::int64_t margin_font_width = 0;  // 0 unless a margin strip

  std::int64_t scalable_width(std::int64_t advance) const;
};

// Adds to lost a sentence for each part of font that the drawing of the
// glyphs at indices loses: glyph names other than the converter gives
// (uniXXXX with a list, charNNNN without), properties it does not write,
// further sizes, scalable widths other than rule gives.
void note_lost_parts(const LoadedFont& font, const std::vector<std::size_t>& indices,
                     bool uses_list, const ScalableWidthRule& rule, std::vector<std::string>& lost);

}  // namespace vellicor
