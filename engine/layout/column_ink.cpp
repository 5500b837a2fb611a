// Column classification, 64 columns (one word of pixel bits per row) at a time.
#include "engine/layout/column_ink.hpp"

#include <bit>

namespace vellicor {

namespace {

// Stores row into rows[i] for every column i whose bit is set in columns.
void settle(std::uint64_t columns, std::uint32_t row,
            std::array<std::uint32_t, kColumnsPerGroup>& rows) {
  for (; columns != 0; columns &= columns - 1) {  // clears the lowest set bit
    const auto lowest = static_cast<std::uint32_t>(std::countr_zero(columns));
    rows[kColumnsPerGroup - 1 - lowest] = row;
  }
}

}  // namespace

void classify_column_group(const InkMap& map, std::uint32_t group_index, ColumnGroup& group) {
  group.has_ink = 0;
  group.ink_columns = 0;
  const RowRange rows = map.held_rows;
  const std::uint64_t inside = map.column_word_mask(group_index);
  if (rows.empty() || inside == 0) return;

  // Downward: the first row in which each column shows ink. Stops once every
  // column of the group has shown some.
  std::uint64_t seen = 0;
  for (std::uint32_t y = rows.begin; y < rows.end && seen != inside; ++y) {
    const std::uint64_t fresh = map.ink_word(y, group_index) & inside & ~seen;
    if (fresh == 0) continue;
    settle(fresh, y, group.first);
    seen |= fresh;
  }
  if (seen == 0) return;

  // Upward: the last ink row of each column that has ink at all. A column
  // whose last ink row is row 0 has no ink below it.
  std::uint64_t found = 0;
  std::uint64_t top_row_only = 0;
  for (std::uint32_t y = rows.end; y > rows.begin && found != seen;) {
    --y;
    const std::uint64_t fresh = map.ink_word(y, group_index) & seen & ~found;
    if (fresh == 0) continue;
    settle(fresh, y, group.last);
    found |= fresh;
    if (y == 0) top_row_only = fresh;
  }
  group.has_ink = seen;
  group.ink_columns = seen & ~top_row_only;
}

}  // namespace vellicor
