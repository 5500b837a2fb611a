// Drawing glyphs under their advance marks.
#include "engine/draw/draw_marks.hpp"

#include "engine/draw/paint_glyph.hpp"

namespace vellicor {

void draw_marks(const LoadedFont& font, const std::vector<std::size_t>& indices,
                const SheetPlan& plan, DrawnPicture& picture) {
  fill_picture(picture, static_cast<std::uint32_t>(plan.width),
               static_cast<std::uint32_t>(plan.height), kDrawnPaper);
  for (std::size_t place = 0; place < indices.size(); ++place) {
    const LoadedGlyph& glyph = font.glyphs[indices[place]];
    const auto band = static_cast<std::uint32_t>(place / plan.columns);
    const std::uint64_t mark_row = plan.band_top(band);
    const std::int64_t start = plan.mark_starts[place];
    for (std::int64_t x = start; x < start + glyph.advance; ++x) {
      picture.at(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(mark_row)) = kDrawnMark;
    }
    // The glyph rows begin under the mark row.
    paint_glyph(picture, glyph, start, static_cast<std::int64_t>(mark_row) + plan.ascent);
  }
}

}  // namespace vellicor
