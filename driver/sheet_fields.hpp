// A sheet's layout fields: the table the driver reads them by, and the texts
// of the number of rows, a grid's cell size and its pixel pairs.
#pragma once

#include <cstdint>
#include <span>

#include "driver/host_callbacks.hpp"
#include "driver/messages.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Two numbers given as one text.
struct NumberPair {
  std::uint32_t first = 0;
  std::uint32_t second = 0;
};

// One field of a sheet's layout: where it comes from, its refusal and where
// its value goes.
struct SheetField {
  FieldId id;
  Message refusal;  // what a refused text is answered with
  // kBadArgument, settings untouched, for a refused text.
  ResultCode (*read)(const char* text, ConversionSettings& settings);
};

// The layout's refusable fields in the order the driver asks for them
// (FieldProportional, never refused, is read apart).
std::span<const SheetField> sheet_fields();

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
