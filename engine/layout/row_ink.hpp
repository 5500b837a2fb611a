// Ink along one picture row between two columns, 64 columns at a time: what
// the sheet layouts read where the strip reads whole columns.
#pragma once

#include <cstdint>

#include "engine/picture/ink_map.hpp"

namespace vellicor {

// The first column in [from, to) of row y that is ink (or, with ink false,
// paper); to when there is none.
std::uint32_t next_column_of(const InkMap& map, std::uint32_t y, std::uint32_t from,
                             std::uint32_t to, bool ink);

// The last ink column in [from, to) of row y; to when there is none.
std::uint32_t last_ink_column(const InkMap& map, std::uint32_t y, std::uint32_t from,
                              std::uint32_t to);

// The smallest box holding every ink pixel of columns [left, right) and rows
// [top, bottom): its columns [start, start + width) and rows first..last.
// width 0 when the area holds no ink.
struct InkBox {
  std::uint32_t start = 0;
  std::uint32_t width = 0;
  std::uint32_t first = 0;
  std::uint32_t last = 0;
};
InkBox ink_box_of(const InkMap& map, std::uint32_t left, std::uint32_t right, std::uint32_t top,
                  std::uint32_t bottom);

}  // namespace vellicor
