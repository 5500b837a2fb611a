// Where the glyphs stand in the picture: which layout cuts the ink map, and
// its figures.
#pragma once

#include <cstdint>

#include "vellicor/internal/request_limits.hpp"

namespace vellicor {

enum class LayoutKind {
  kStrip,  // bands of glyphs side by side, each band cut column by column
  kGrid,   // cells of one size, one glyph each, read row by row
  kMarks,  // bands whose top row marks each glyph's advance box
};

struct LayoutSettings {
  LayoutKind kind = LayoutKind::kStrip;
  std::uint32_t bands = 1;  // kStrip and kMarks: bands of equal height, top to bottom
  // kGrid: the cell, the first cell's top-left pixel and the pixels skipped
  // between cells.
  std::uint32_t cell_width = 0;
  std::uint32_t cell_height = 0;
  std::uint32_t origin_x = 0;
  std::uint32_t origin_y = 0;
  std::uint32_t gap_x = 0;
  std::uint32_t gap_y = 0;
  // kGrid: a glyph advances its ink width and the side blanks instead of the
  // cell width.
  bool proportional = false;

  // The one-band strip: the layout of the plain conversion.
  bool is_single_strip() const { return kind == LayoutKind::kStrip && bands <= 1; }
};

}  // namespace vellicor
