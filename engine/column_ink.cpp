// Column classification, eight columns (one pixel byte) at a time.
#include "engine/column_ink.hpp"

namespace vellicor {

namespace {

constexpr std::uint8_t kLeftmostBit = 0x80;

// Records row for every column whose bit is set in bits.
void settle(std::uint8_t bits, std::uint32_t row, std::array<ColumnInk, kColumnsPerByte>& columns,
            std::uint32_t ColumnInk::*place) {
  for (std::uint32_t i = 0; bits != 0; ++i) {
    const auto bit = static_cast<std::uint8_t>(kLeftmostBit >> i);
    if ((bits & bit) != 0) {
      columns[i].*place = row;
      bits = static_cast<std::uint8_t>(bits & ~bit);
    }
  }
}

}  // namespace

std::array<ColumnInk, kColumnsPerByte> classify_column_byte(const PictureView& picture,
                                                            std::uint32_t byte_index) {
  std::array<ColumnInk, kColumnsPerByte> columns{};
  const RowRange rows = picture.delivered_rows();
  const std::uint8_t inside = picture.column_mask(byte_index);
  if (rows.empty() || inside == 0) return columns;

  // Downward: the first row in which each column shows ink. Stops once every
  // column of the byte has shown some.
  std::uint8_t seen = 0;
  for (std::uint32_t y = rows.begin; y < rows.end && seen != inside; ++y) {
    const auto fresh = static_cast<std::uint8_t>(picture.ink_byte(y, byte_index) & inside & ~seen);
    if (fresh == 0) continue;
    settle(fresh, y, columns, &ColumnInk::first);
    seen = static_cast<std::uint8_t>(seen | fresh);
  }
  if (seen == 0) return columns;

  // Upward: the last ink row of each column that has ink at all.
  std::uint8_t found = 0;
  for (std::uint32_t y = rows.end; y > rows.begin && found != seen;) {
    --y;
    const auto fresh = static_cast<std::uint8_t>(picture.ink_byte(y, byte_index) & seen & ~found);
    if (fresh == 0) continue;
    settle(fresh, y, columns, &ColumnInk::last);
    found = static_cast<std::uint8_t>(found | fresh);
  }
  for (std::uint32_t i = 0; i < kColumnsPerByte; ++i) {
    columns[i].has_ink = (seen & (kLeftmostBit >> i)) != 0;
  }
  return columns;
}

}  // namespace vellicor
