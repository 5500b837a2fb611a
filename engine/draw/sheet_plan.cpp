// Choosing a drawing's layout and measuring its picture.
#include "engine/draw/sheet_plan.hpp"

#include <algorithm>
#include <cmath>

#include "engine/core/limits.hpp"
#include "engine/picture/ink_map.hpp"

namespace vellicor {

namespace {

// The widest decoded row any reader holds beside the ink map: 16-bit RGBA,
// or a band of rows of the Windows decoder.
constexpr std::uint64_t kMostBytesPerDecodedPixel = 8;

// The ink beside a glyph's advance box: columns left of its origin and past
// its advance.
std::int64_t left_overhang(const GlyphExtent& extent) {
  return extent.has_ink ? std::max<std::int64_t>(0, -extent.left) : 0;
}
std::int64_t right_overhang(const GlyphExtent& extent, std::int32_t advance) {
  return extent.has_ink ? std::max<std::int64_t>(0, extent.right - advance) : 0;
}

// Blank columns between the marks of two neighbours: the cutter splits them
// in the middle (a middle column to the left), so the left glyph gets the
// first ceil(gap / 2) and the right one the last floor(gap / 2). Their ink
// keeps a blank column between them.
std::int64_t mark_gap(std::int64_t right_of_left, std::int64_t left_of_right) {
  const std::int64_t split = std::max(2 * right_of_left - 1, 2 * left_of_right);
  return std::max<std::int64_t>({1, split, right_of_left + left_of_right + 1});
}

// Whether the readers take a picture this large: each side, the pixels the
// Windows decoder holds, and the one-bit ink map with a decoded row within
// the smallest allowance.
bool readers_take(std::uint64_t width, std::uint64_t height) {
  if (width == 0 || height == 0 || width > kMaxPictureSidePx || height > kMaxPictureSidePx) {
    return false;
  }
  if (width * height > kWicMaxPixels) return false;
  const std::uint64_t map_bytes =
      std::uint64_t{ink_map_stride(static_cast<std::uint32_t>(width))} * height;
  const std::uint64_t row_bytes = std::max(kWicBandBytes, width * kMostBytesPerDecodedPixel);
  return row_bytes <= kMinDecodeBudgetBytes && map_bytes <= kMinDecodeBudgetBytes - row_bytes;
}

void plan_grid(std::size_t glyphs, std::uint32_t columns, SheetPlan& plan) {
  plan.columns = columns != 0 ? columns : kGridColumns;
  plan.columns = static_cast<std::uint32_t>(std::min<std::size_t>(plan.columns, glyphs));
  plan.bands = static_cast<std::uint32_t>((glyphs + plan.columns - 1) / plan.columns);
  const std::uint64_t cell_height = static_cast<std::uint64_t>(plan.ascent + plan.descent);
  plan.width = kGridLinePx + std::uint64_t{plan.columns} * (plan.cell_width + kGridLinePx);
  plan.height = kGridLinePx + std::uint64_t{plan.bands} * (cell_height + kGridLinePx);
}

// Glyphs a band: as many as make the picture about as wide as it is tall.
std::uint32_t square_columns(const std::vector<std::int32_t>& advances, std::uint64_t band_height) {
  double total = 0;
  for (const std::int32_t advance : advances) total += advance + 1.0;
  const double mean_step = total / static_cast<double>(advances.size());
  const double columns = std::sqrt(static_cast<double>(advances.size()) *
                                   static_cast<double>(band_height) / mean_step);
  return static_cast<std::uint32_t>(std::clamp(std::lround(columns), 1L, long{kMostMarkColumns}));
}

void plan_marks(const std::vector<std::int32_t>& advances, const std::vector<GlyphExtent>& extents,
                std::uint32_t columns, SheetPlan& plan) {
  const std::uint64_t band_height = 1 + static_cast<std::uint64_t>(plan.ascent + plan.descent);
  plan.columns = columns != 0 ? columns : square_columns(advances, band_height);
  plan.columns = static_cast<std::uint32_t>(std::min<std::size_t>(plan.columns, advances.size()));
  plan.bands = static_cast<std::uint32_t>((advances.size() + plan.columns - 1) / plan.columns);
  plan.height = std::uint64_t{plan.bands} * band_height;
  plan.mark_starts.resize(advances.size());
  plan.width = 0;
  std::int64_t start = 0;
  for (std::size_t index = 0; index < advances.size(); ++index) {
    const bool band_starts = index % plan.columns == 0;
    const std::int64_t left = left_overhang(extents[index]);
    if (band_starts) {
      start = left;
    } else {
      start += mark_gap(right_overhang(extents[index - 1], advances[index - 1]), left);
    }
    plan.mark_starts[index] = start;
    start += advances[index];
    const std::int64_t band_end = start + right_overhang(extents[index], advances[index]);
    plan.width = std::max(plan.width, static_cast<std::uint64_t>(band_end));
  }
}

}  // namespace

std::uint64_t SheetPlan::band_top(std::uint32_t band) const {
  const std::uint64_t rows = static_cast<std::uint64_t>(ascent + descent);
  if (layout == DrawLayout::kGrid) return kGridLinePx + std::uint64_t{band} * (rows + kGridLinePx);
  return std::uint64_t{band} * (rows + 1);
}

void frame_extents(std::int32_t font_ascent, std::int32_t font_descent,
                   const std::vector<GlyphExtent>& extents, std::int64_t& ascent,
                   std::int64_t& descent) {
  ascent = font_ascent;
  descent = font_descent;
  for (const GlyphExtent& extent : extents) {
    if (!extent.has_ink) continue;
    ascent = std::max(ascent, extent.top);
    descent = std::max(descent, -extent.bottom);
  }
  ascent = std::max<std::int64_t>(ascent, 1);
  descent = std::max<std::int64_t>(descent, 0);
}

bool fits_grid(const std::vector<std::int32_t>& advances, const std::vector<GlyphExtent>& extents,
               std::int64_t ascent, std::int64_t descent) {
  if (advances.empty() || advances.front() < 1) return false;
  const std::int32_t advance = advances.front();
  for (std::size_t index = 0; index < advances.size(); ++index) {
    if (advances[index] != advance) return false;
    const GlyphExtent& extent = extents[index];
    if (!extent.has_ink) continue;
    if (extent.left < 0 || extent.right > advance) return false;
    if (extent.bottom < -descent || extent.top > ascent) return false;
  }
  return true;
}

ResultCode plan_sheet(const std::vector<std::int32_t>& advances,
                      const std::vector<GlyphExtent>& extents, std::uint32_t columns,
                      SheetPlan& plan, ErrorDetail* detail) {
  if (plan.layout == DrawLayout::kGrid) {
    plan.cell_width = static_cast<std::uint32_t>(advances.front());
    plan_grid(advances.size(), columns, plan);
  } else {
    plan_marks(advances, extents, columns, plan);
  }
  if (!readers_take(plan.width, plan.height)) {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
