// The layout field table and the reading of rows, cell size and pixel pair texts.
#include "driver/sheet_fields.hpp"

#include <limits>

#include "driver/charset_names.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/layout_names.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor {
namespace {

constexpr std::uint32_t kDecimalBase = 10;
constexpr char kCellSeparator = 'x';  // "8x16"
constexpr char kPairSeparator = ',';  // "1,1"

// Reads the decimal digits at text into value and moves text past them.
// False for no digit at all and for a value past 32 bits.
bool read_decimal(const char*& text, std::uint32_t& value) {
  constexpr std::uint32_t kMost = std::numeric_limits<std::uint32_t>::max();
  const char* cursor = text;
  std::uint32_t number = 0;
  for (; *cursor >= '0' && *cursor <= '9'; ++cursor) {
    const auto digit = static_cast<std::uint32_t>(*cursor - '0');
    if (number > (kMost - digit) / kDecimalBase) return false;
    number = number * kDecimalBase + digit;
  }
  if (cursor == text) return false;
  text = cursor;
  value = number;
  return true;
}

// Two decimal numbers joined by separator, and nothing else. Hexadecimal is
// left out: its "0x" would read as a cell's separator.
bool read_pair(const char* text, char separator, NumberPair& pair) {
  if (text == nullptr) return false;
  NumberPair read;
  if (!read_decimal(text, read.first) || *text++ != separator) return false;
  if (!read_decimal(text, read.second) || *text != '\0') return false;
  pair = read;
  return true;
}

ResultCode read_rows_field(const char* text, ConversionSettings& settings) {
  return read_rows(text, settings.rows);
}

// Reads a pair with read into first and second, leaving both alone when it
// is refused.
ResultCode store_pair(ResultCode (*read)(const char*, NumberPair&), const char* text,
                      std::uint32_t& first, std::uint32_t& second) {
  NumberPair pair;
  if (failed(read(text, pair))) return ResultCode::kBadArgument;
  first = pair.first;
  second = pair.second;
  return ResultCode::kOk;
}

ResultCode read_cell(const char* text, ConversionSettings& settings) {
  return store_pair(&read_cell_size, text, settings.cell_width, settings.cell_height);
}

ResultCode read_origin(const char* text, ConversionSettings& settings) {
  return store_pair(&read_pixel_pair, text, settings.grid_origin_x, settings.grid_origin_y);
}

ResultCode read_gap(const char* text, ConversionSettings& settings) {
  return store_pair(&read_pixel_pair, text, settings.grid_gap_x, settings.grid_gap_y);
}

constexpr SheetField kSheetFields[] = {
    {FieldLayout, Message::kInvalidLayout,
     [](const char* text, ConversionSettings& settings) {
       return parse_layout(text, settings.layout);
     }},
    {FieldRows, Message::kInvalidRows, &read_rows_field},
    {FieldGridCell, Message::kInvalidGridCell, &read_cell},
    {FieldGridOrigin, Message::kInvalidGridOrigin, &read_origin},
    {FieldGridGap, Message::kInvalidGridGap, &read_gap},
    {FieldCharset, Message::kInvalidCharset,
     [](const char* text, ConversionSettings& settings) {
       return parse_charset(text, settings.charset);
     }},
};

}  // namespace

std::span<const SheetField> sheet_fields() { return kSheetFields; }

ResultCode read_rows(const char* text, std::uint32_t& rows) {
  std::uint32_t value = 0;
  if (failed(parse_number(text, &value)) || value == 0 || value > kMostSheetGlyphs) {
    return ResultCode::kBadArgument;
  }
  rows = value;
  return ResultCode::kOk;
}

ResultCode read_cell_size(const char* text, NumberPair& cell) {
  NumberPair read;
  if (!read_pair(text, kCellSeparator, read) || read.first == 0 || read.second == 0) {
    return ResultCode::kBadArgument;
  }
  cell = read;
  return ResultCode::kOk;
}

ResultCode read_pixel_pair(const char* text, NumberPair& pair) {
  return read_pair(text, kPairSeparator, pair) ? ResultCode::kOk : ResultCode::kBadArgument;
}

}  // namespace vellicor
