// Drawing glyphs into the cells of a grid.
#include "engine/draw/draw_grid.hpp"

#include "engine/draw/paint_glyph.hpp"

namespace vellicor {

void draw_grid(const LoadedFont& font, const std::vector<std::size_t>& indices,
               const SheetPlan& plan, DrawnPicture& picture) {
  const auto width = static_cast<std::uint32_t>(plan.width);
  const auto height = static_cast<std::uint32_t>(plan.height);
  fill_picture(picture, width, height, kDrawnPaper);
  const std::uint64_t step_x = std::uint64_t{plan.cell_width} + kGridLinePx;
  const std::uint64_t step_y = static_cast<std::uint64_t>(plan.ascent + plan.descent) + kGridLinePx;
  // The lines before every cell and after the last, across the picture.
  for (std::uint64_t x = 0; x < width; x += step_x) {
    for (std::uint32_t y = 0; y < height; ++y)
      picture.at(static_cast<std::uint32_t>(x), y) = kDrawnSeparator;
  }
  for (std::uint64_t y = 0; y < height; y += step_y) {
    for (std::uint32_t x = 0; x < width; ++x)
      picture.at(x, static_cast<std::uint32_t>(y)) = kDrawnSeparator;
  }
  for (std::size_t place = 0; place < indices.size(); ++place) {
    const auto band = static_cast<std::uint32_t>(place / plan.columns);
    const std::uint64_t left = kGridLinePx + (place % plan.columns) * step_x;
    const std::int64_t first_above_baseline =
        static_cast<std::int64_t>(plan.band_top(band)) + plan.ascent - 1;
    paint_glyph(picture, font.glyphs[indices[place]], static_cast<std::int64_t>(left),
                first_above_baseline);
  }
}

}  // namespace vellicor
