// Where the ink of a picture column begins and ends.
#pragma once

#include <array>
#include <cstdint>

#include "engine/picture.hpp"

namespace vellicor {

inline constexpr std::uint32_t kColumnsPerByte = 8;

// One column's ink, as the glyph cutter classifies it.
struct ColumnInk {
  bool has_ink = false;     // some pixel of the column is ink
  std::uint32_t first = 0;  // topmost ink row (when has_ink)
  std::uint32_t last = 0;   // bottom ink row (when has_ink)

  // A column counts as ink only when it holds ink below row 0: a column whose
  // only ink lies in the top row is blank.
  bool is_ink_column() const { return has_ink && last != 0; }
};

// The eight columns of pixel byte byte_index (columns 8 * byte_index ...),
// leftmost first. Columns past the picture's width come back without ink.
// Reads only the rows that hold delivered bytes, and each row stops being
// read for a column group once all of its inked columns are settled.
std::array<ColumnInk, kColumnsPerByte> classify_column_byte(const PictureView& picture,
                                                            std::uint32_t byte_index);

}  // namespace vellicor
