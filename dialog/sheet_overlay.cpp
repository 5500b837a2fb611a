// Cells and bands placed as the engine places them.
#include "dialog/sheet_overlay.hpp"

#include <algorithm>

namespace vellicor::dialog {
namespace {

// Whole cells of size that fit from origin in length pixels, gap apart.
std::int64_t whole_cells(std::int64_t length, std::int64_t origin, std::int64_t size,
                         std::int64_t gap) {
  if (size <= 0 || origin + size > length) return 0;
  return 1 + (length - origin - size) / (size + gap);
}

SheetOverlay grid_overlay(const SheetSettings& sheet, QSize picture, std::uint32_t descent) {
  SheetOverlay overlay;
  const std::int64_t columns =
      whole_cells(picture.width(), sheet.origin_x, sheet.cell_width, sheet.gap_x);
  const std::int64_t rows =
      whole_cells(picture.height(), sheet.origin_y, sheet.cell_height, sheet.gap_y);
  if (columns == 0 || rows == 0) return overlay;
  // Whole cells lie inside the picture, so every place below fits an int; a
  // gap wider than the picture is only ever added after the last cell.
  const QSize cell(int(sheet.cell_width), int(sheet.cell_height));
  const auto left = [&](std::int64_t column) {
    return int(sheet.origin_x + column * (std::int64_t{sheet.cell_width} + sheet.gap_x));
  };
  const auto top = [&](std::int64_t row) {
    return int(sheet.origin_y + row * (std::int64_t{sheet.cell_height} + sheet.gap_y));
  };
  overlay.cells.reserve(std::size_t(columns * rows));
  for (std::int64_t row = 0; row < rows; ++row) {
    for (std::int64_t column = 0; column < columns; ++column) {
      overlay.cells.emplace_back(QPoint(left(column), top(row)), cell);
    }
    if (descent < sheet.cell_height) {
      overlay.baselines.push_back(top(row) + cell.height() - int(descent));
    }
  }
  const int grid_width = left(columns - 1) + cell.width() - left(0);
  const int grid_height = top(rows - 1) + cell.height() - top(0);
  for (std::int64_t column = 1; column < columns && sheet.gap_x > 0; ++column) {
    const int gap_left = left(column - 1) + cell.width();
    overlay.gaps.emplace_back(gap_left, top(0), left(column) - gap_left, grid_height);
  }
  for (std::int64_t row = 1; row < rows && sheet.gap_y > 0; ++row) {
    const int gap_top = top(row - 1) + cell.height();
    overlay.gaps.emplace_back(left(0), gap_top, grid_width, top(row) - gap_top);
  }
  return overlay;
}

SheetOverlay band_overlay(const SheetSettings& sheet, QSize picture, std::uint32_t descent) {
  SheetOverlay overlay;
  const std::uint32_t bands = std::max(1u, sheet.rows);
  if (bands > std::uint32_t(picture.height()) || picture.height() % bands != 0) return overlay;
  const int height = picture.height() / int(bands);
  for (int band = 1; band < int(bands); ++band) overlay.band_edges.push_back(band * height);
  // A marked band's baseline stands descent rows above its bottom; a strip's
  // bands each find their own from their ink.
  if (sheet.layout == VELLICOR_LAYOUT_MARKS && descent < std::uint32_t(height)) {
    for (int band = 0; band < int(bands); ++band) {
      overlay.baselines.push_back((band + 1) * height - int(descent));
    }
  }
  return overlay;
}

}  // namespace

SheetOverlay sheet_overlay(const SheetSettings& sheet, QSize picture, std::uint32_t descent) {
  if (picture.isEmpty()) return {};
  if (sheet.layout == VELLICOR_LAYOUT_GRID) return grid_overlay(sheet, picture, descent);
  return band_overlay(sheet, picture, descent);
}

}  // namespace vellicor::dialog
