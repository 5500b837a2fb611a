// The plan of a drawing: the layout, the baseline, where each glyph goes and
// how large the picture is, settled before a pixel is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/draw/font_drawing.hpp"
#include "engine/draw/glyph_extent.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// The grid's separator lines and the marks' least gap, in pixels.
inline constexpr std::uint32_t kGridLinePx = 1;
inline constexpr std::uint32_t kGridColumns = 16;
inline constexpr std::uint32_t kMostMarkColumns = 64;

struct SheetPlan {
  DrawLayout layout = DrawLayout::kGrid;
  // Rows of each cell or band above and below the baseline.
  std::int64_t ascent = 0;
  std::int64_t descent = 0;
  std::uint32_t cell_width = 0;           // grid: the advance every glyph shares
  std::uint32_t columns = 0;              // grid: cells a row; marks: glyphs a band
  std::uint32_t bands = 0;                // rows of cells, or bands of marks
  std::vector<std::int64_t> mark_starts;  // marks: each glyph's mark's first column
  std::uint64_t width = 0;
  std::uint64_t height = 0;

  // The top row of band (grid: of its cells; marks: of its mark row).
  std::uint64_t band_top(std::uint32_t band) const;
};

// Ascent and descent of the font grown to hold every glyph's ink (ascent at
// least 1, descent at least 0).
void frame_extents(std::int32_t font_ascent, std::int32_t font_descent,
                   const std::vector<GlyphExtent>& extents, std::int64_t& ascent,
                   std::int64_t& descent);

// Whether every glyph advances the same advance >= 1 and holds its ink in the
// cell of that width from the origin, ascent rows above and descent below.
bool fits_grid(const std::vector<std::int32_t>& advances, const std::vector<GlyphExtent>& extents,
               std::int64_t ascent, std::int64_t descent);

// Plans a grid or marks (plan.layout, ascent and descent set) of the glyphs
// with these advances and extents, columns a row (0 chooses). Refuses with
// kPictureTooLarge a picture past what the picture readers take.
ResultCode plan_sheet(const std::vector<std::int32_t>& advances,
                      const std::vector<GlyphExtent>& extents, std::uint32_t columns,
                      SheetPlan& plan, ErrorDetail* detail);

}  // namespace vellicor
