// Fuzz target: the sheet layouts (bands, grids, marks) over small pictures
// and any layout settings, in memory, written in any format.
//
// Input: twelve setting bytes, two size bytes, then the picture's pixels, one
// bit each, row by row (missing bits are paper). Every conversion either
// writes a font, or fails with one of the refusals a sheet or its format can
// get, each with a message, writing nothing. A BDF's records lie inside its
// bounding box and count up by one, with exactly as many records as the cut
// reports; the other formats are written whole or not at all.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "driver/messages.hpp"
#include "engine/api/convert.hpp"
#include "engine/api/versioned_records.hpp"
#include "fuzz/fuzz_check.hpp"
#include "fuzz/memory_file_system.hpp"
#include "tests/support/bmp_builder.hpp"

namespace {

using vellicor::ErrorDetail;
using vellicor::ResultCode;
using vellicor::fuzz::require;

constexpr std::size_t kSettingBytes = 12;
constexpr char kInputPath[] = "/in/sheet.bmp";
constexpr char kOutputPath[] = "/out/sheet.bdf";

// Every refusal a sheet can get when no file call fails.
bool is_sheet_refusal(ResultCode result, ErrorDetail detail) {
  static const std::set<std::pair<ResultCode, ErrorDetail>> kRefusals = {
      {ResultCode::kUnusableInput, ErrorDetail::kNoInk},
      {ResultCode::kUnusableInput, ErrorDetail::kAllInk},
      {ResultCode::kNoGlyph, ErrorDetail::kNoGlyph},
      {ResultCode::kBadArgument, ErrorDetail::kRowsDoNotDivide},
      {ResultCode::kBadArgument, ErrorDetail::kNoCell},
      {ResultCode::kBadArgument, ErrorDetail::kDescentTooLarge},
      {ResultCode::kBadArgument, ErrorDetail::kLayoutSettings},
      {ResultCode::kUnusableInput, ErrorDetail::kCharsCount},
      {ResultCode::kUnusableInput, ErrorDetail::kBandCount},
      {ResultCode::kUnusableInput, ErrorDetail::kListLines},
      {ResultCode::kUnusableInput, ErrorDetail::kTooManyGlyphs},
      {ResultCode::kUnusableInput, ErrorDetail::kPsfGlyphCount},
      {ResultCode::kUnusableInput, ErrorDetail::kPsfCellSize},
      {ResultCode::kUnusableInput, ErrorDetail::kFonNothingLeft},
      {ResultCode::kUnusableInput, ErrorDetail::kOutlineTooComplex},
  };
  return kRefusals.count({result, detail}) != 0;
}

// Character lists of one line and of three, and none.
const char* list_of(std::uint8_t choice) {
  switch (choice % 4) {
    case 1:
      return "abc def";
    case 2:
      return "ab\ncd\ne";
    case 3:
      return "abcdefghijklmnopqrstuvwxyz";
    default:
      return nullptr;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kSettingBytes + 2) return 0;
  ConversionSettings settings{};
  settings.size = sizeof settings;
  settings.layout = data[0] % 4;  // 3 is no layout at all
  settings.rows = data[1] % 5;
  if (settings.layout == VELLICOR_LAYOUT_GRID) {
    settings.rows = data[1] % 5 == 4 ? 2 : 0;  // bands in a grid, now and then
    settings.cell_width = data[2] % 9;
    settings.cell_height = data[3] % 9;
    settings.grid_origin_x = data[4] % 4;
    settings.grid_origin_y = data[5] % 4;
    settings.grid_gap_x = data[6] % 3;
    settings.grid_gap_y = data[7] % 3;
    settings.proportional = data[8] & 1u;
  }
  settings.chars = list_of(data[9]);
  settings.ink_rule = VELLICOR_INK_BLACK;
  // The top bits choose the format: BDF for three of their eight values.
  const std::uint32_t format = data[0] >> 5u;
  settings.format = format <= VELLICOR_FORMAT_TTF ? format : VELLICOR_FORMAT_BDF;
  ConversionOptions options{};
  options.descent = static_cast<std::uint8_t>(data[10] % 4);
  options.allowed_blank_columns = static_cast<std::uint8_t>(data[10] / 4 % 3);
  options.leading_blank = static_cast<std::uint8_t>(data[11] % 3);
  options.trailing_blank = static_cast<std::uint8_t>(data[11] / 3 % 3);
  options.first_glyph = 32;

  const std::size_t width = data[12] % 48 + 1;
  const std::size_t height = data[13] % 24 + 1;
  std::vector<std::string> rows(height, std::string(width, '.'));
  const std::uint8_t* pixels = data + kSettingBytes + 2;
  const std::size_t pixel_bytes = size - kSettingBytes - 2;
  for (std::size_t i = 0; i < width * height && i / 8 < pixel_bytes; ++i) {
    if ((pixels[i / 8] >> (7 - i % 8)) & 1u) rows[i / width][i % width] = '#';
  }

  vellicor::fuzz::MemoryFileSystem fs;
  fs.expect_sheet_fonts();
  fs.add_file(kInputPath, vellicor::test::make_one_bit_bmp(rows));
  fs.add_directory("/out");
  const ConversionPaths paths{kInputPath, kOutputPath};
  ConversionReport report = vellicor::empty_report();
  vellicor::ErrorDetail detail = vellicor::ErrorDetail::kNone;
  const vellicor::ResultCode result = vellicor::convert_ex_file(
      fs, &paths, &options, vellicor::read_settings(&settings), report, &detail);
  require(fs.open_handles() == 0, "every file is closed");
  if (vellicor::failed(result)) {
    require(is_sheet_refusal(result, detail), "a sheet fails only with a sheet's refusals");
    require(fs.written(kOutputPath) == nullptr, "nothing is written on a refusal");
    require(!vellicor::failure_text(detail, report).empty(), "every refusal has a message");
    return 0;
  }
  vellicor::fuzz::BdfStreamCheck* font = fs.written(kOutputPath);
  require(font != nullptr, "a converted sheet writes its font");
  require(fs.bytes_written() != 0, "a written font holds bytes");
  require(report.left_out < report.glyph_count || report.glyph_count == 0,
          "a font keeps a glyph of those the format holds");
  if (settings.format != VELLICOR_FORMAT_BDF) return 0;
  // Fonts with a list name their glyphs by code point, which the stream
  // check does not read; without one every record is checked.
  if (settings.chars == nullptr) {
    require(font->finish(), "the font is whole and its records lie in its box",
            font->problem().c_str());
    require(font->records() == report.glyph_count, "the font holds the glyphs reported");
  }
  return 0;
}
