// The texts of a sheet's layout fields: the number of rows, a grid's cell
// size and its pixel pairs.
#pragma once

#include <cstdint>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Two numbers given as one text.
struct NumberPair {
  std::uint32_t first = 0;
  std::uint32_t second = 0;
};

// Reads text as a number of rows (decimal or "0x" hexadecimal), 1 or more.
// kBadArgument, rows untouched, for anything else.
ResultCode read_rows(const char* text, std::uint32_t& rows);

// Reads "WxH", two decimal numbers of 1 or more, as a cell's width and
// height. kBadArgument, cell untouched, for anything else.
ResultCode read_cell_size(const char* text, NumberPair& cell);

// Reads "X,Y", two decimal numbers (0 included), as a pixel pair.
// kBadArgument, pair untouched, for anything else.
ResultCode read_pixel_pair(const char* text, NumberPair& pair);

}  // namespace vellicor
