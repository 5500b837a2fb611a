// The text of a BDF file: its lines (LF, CR LF or CR ends one), the fields of
// a line, its decimal numbers and the hexadecimal rows of a glyph's bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vellicor {

// One line of a BDF file without its line break and trailing blanks.
struct BdfLine {
  std::string_view text;
  std::uint64_t number = 0;  // from 1, blank lines counted
};

// Walks the lines of a BDF file, skipping the ones FreeType's driver skips:
// lines of blanks only and lines that begin with '#'.
class BdfLineReader {
 public:
  BdfLineReader(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  // The next line that holds a field; false at the end of the file.
  bool next(BdfLine& line);
  // The number of the last line reached: where a file that ends too soon ends.
  std::uint64_t last_line() const { return line_number_; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  std::uint64_t line_number_ = 0;
};

// The fields of a line, separated by spaces and tabs, taken one by one.
class BdfFields {
 public:
  explicit BdfFields(std::string_view text) : rest_(text) {}

  // The next field; empty when none is left.
  std::string_view next();
  // Whatever follows the fields taken so far, leading blanks skipped.
  std::string_view rest() const;

 private:
  std::string_view rest_;
};

// Whether text holds a control byte other than a tab: no BDF line does.
bool holds_control_byte(std::string_view text);

// Reads field as a decimal integer (an optional '-', then digits only)
// between lowest and highest; false (value untouched) otherwise.
bool parse_bdf_integer(std::string_view field, std::int64_t lowest, std::int64_t highest,
                       std::int64_t& value);

// Decodes one BITMAP line of a glyph width_px pixels wide, bits_per_pixel
// bits a pixel, into row, (width_px + 7) / 8 bytes of one bit a pixel,
// leftmost in the most significant bit; a pixel of any non-zero grey is ink.
// A line shorter than the glyph's row leaves the rest blank, a longer one is
// cut, and bits past width_px stay clear. scratch holds the packed row.
// Returns false when the line holds anything but hexadecimal digits.
bool decode_bdf_row(std::string_view hex, std::uint32_t width_px, std::uint32_t bits_per_pixel,
                    std::vector<std::uint8_t>& scratch, std::uint8_t* row);

}  // namespace vellicor
