// Where the ink of picture columns begins and ends, 64 columns at a time.
#pragma once

#include <array>
#include <cstdint>

#include "engine/picture/ink_map.hpp"

namespace vellicor {

// One 64-bit word of pixel bits per row: the columns of 8 pixel bytes.
inline constexpr std::uint32_t kColumnsPerGroup = 64;

// The bit of column i (0 = leftmost) of a group in ColumnGroup's masks, which
// keep the pixel order of the file: leftmost column in the most significant bit.
constexpr std::uint64_t column_bit(std::uint32_t i) {
  return std::uint64_t{1} << (kColumnsPerGroup - 1 - i);
}

// The ink of the 64 columns of one group, as the glyph cutter classifies them.
struct ColumnGroup {
  std::uint64_t has_ink = 0;  // some pixel of the column is ink
  // Columns that count as ink: they hold ink below row 0. A column whose only
  // ink lies in the top row is blank.
  std::uint64_t ink_columns = 0;
  std::array<std::uint32_t, kColumnsPerGroup> first;  // topmost ink row, where has_ink
  std::array<std::uint32_t, kColumnsPerGroup> last;   // bottom ink row, where has_ink
};

// Classifies columns 64 * group_index ... 64 * group_index + 63 into group.
// Columns past the picture's width come back without ink. Reads only the rows
// that the map holds, downward until every inked column of the group
// has shown its first ink and upward until each has shown its last.
void classify_column_group(const InkMap& map, std::uint32_t group_index, ColumnGroup& group);

}  // namespace vellicor
