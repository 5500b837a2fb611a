// The README's size limits at their exact boundaries, end to end through
// cvellicor: for each limit one picture just inside and one just outside.
// The numbers are the README's, written out; the pictures are small files
// whose headers declare large sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tests/console/run_program.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;
constexpr char kFontTooLarge[] = "Font too large for its picture\n";
constexpr char kPictureTooLarge[] =
    "Picture too large to read: over 16777216 pixels a side, or more than its file size "
    "allows\n";
// What an 8-bit PNG whose image data is all zero bytes gets once its size
// has been accepted: the zlib stream is broken from its first byte.
constexpr char kPngDataBroken[] = "PNG file is damaged: its compressed image data is broken\n";

class CvellicorLimits : public ::testing::Test {
 protected:
  ProgramRun run(const std::vector<std::string>& arguments) {
    return run_program(binary_dir() / "cvellicor", arguments, directory_.path());
  }
  TempDir directory_;
};

// --- The font's glyph records: 32 MiB, or 64 bytes per delivered pixel byte.

// A bottom-up picture three pixels wide that declares height_px rows but
// holds only stored_rows of them: the bottom row has ink in column 1, every
// other row is paper (rows the file does not hold read as paper). Its one
// glyph is that ink, and its record has a bitmap line for every row from
// row 1 down: height_px - 1 lines of "00" or "40".
std::vector<std::uint8_t> tall_picture(std::uint32_t height_px, std::uint32_t stored_rows) {
  std::vector<std::string> rows(stored_rows, "...");
  rows.back() = ".#.";
  std::vector<std::uint8_t> file = make_one_bit_bmp(rows);
  constexpr std::uint32_t kRowBytes = 4;
  put_u32(file, kOffBiHeight, height_px);
  put_u32(file, kOffBiSizeImage, height_px * kRowBytes);
  return file;
}

// That glyph's record for a picture of 10,000,001 to 99,999,999 rows with
// first code first_code: "STARTCHAR char%04x", "ENCODING <code>",
// "SWIDTH 960 0", "DWIDTH 1 0", "BBX 1 <rows - 1> 0 -<rows - 2>", "BITMAP",
// the bitmap lines of three bytes each and "ENDCHAR": 79 bytes of fixed text
// and line ends, the code's decimal digits, two eight-digit numbers and the
// lines.
std::uint64_t record_bytes(std::uint32_t height_px, int first_code) {
  const std::uint64_t code_digits = std::to_string(first_code).size();
  return 79 + code_digits + 8 + 8 + 3 * (std::uint64_t{height_px} - 1);
}

// The bytes between the header's CHARS line and the closing ENDFONT line.
std::uint64_t records_in(const std::string& font) {
  const std::string chars = "\nCHARS 1\n";
  const std::size_t start = font.find(chars);
  if (start == std::string::npos) return 0;
  return font.size() - (start + chars.size()) - (sizeof "ENDFONT\n" - 1);
}

struct FontCase {
  const char* label;
  std::uint32_t height_px;
  std::uint32_t stored_rows;
  int first_code;         // its decimal digits tune the record's size byte by byte
  std::uint64_t records;  // the record's size, as the README's limit sees it
  bool written;
};

// Names the row in test listings.
void PrintTo(const FontCase& row, std::ostream* out) { print_label(out, {row.label}); }

class CvellicorFontLimit : public CvellicorLimits,
                           public ::testing::WithParamInterface<FontCase> {};

TEST_P(CvellicorFontLimit, HoldsAtTheBoundary) {
  const FontCase& row = GetParam();
  ASSERT_EQ(record_bytes(row.height_px, row.first_code), row.records);
  write_file(directory_.file("tall.bmp"), tall_picture(row.height_px, row.stored_rows));
  const ProgramRun result =
      run({"-v", std::to_string(row.first_code), "-o", "tall.bdf", "tall.bmp"});
  if (row.written) {
    EXPECT_EQ(result.exit_status, 0) << result.output;
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(records_in(read_text(directory_.file("tall.bdf"))), row.records);
  } else {
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.output, kFontTooLarge);
    EXPECT_FALSE(std::filesystem::exists(directory_.file("tall.bdf")));
  }
}

// Two stored rows deliver 8 pixel bytes (512 bytes of font at 64 per byte),
// so the 32 MiB floor (33,554,432 bytes) is the limit. 131,073 stored rows
// deliver 524,292 bytes, and 64 per byte (33,554,688) is above the floor.
INSTANTIATE_TEST_SUITE_P(
    Records, CvellicorFontLimit,
    ::testing::Values(FontCase{"FloorExactly", 11184779, 2, 100, 32 * kMiB, true},
                      FontCase{"FloorAndOneByte", 11184779, 2, 1000, 32 * kMiB + 1, false},
                      FontCase{"PerPixelByteExactly", 11184864, 131073, 1000, 64 * 524292, true},
                      FontCase{"PerPixelByteAndOneByte", 11184864, 131073, 10000, 64 * 524292 + 1,
                               false}),
    [](const auto& row) { return std::string(row.param.label); });

// --- Picture reading: the map (one bit per pixel, rows of whole 32-bit
// words) plus one decoded row (four bytes per pixel for 8-bit PNG samples)
// within 8 MiB or 128 bytes per file byte, whichever is larger, never more
// than 512 MiB; and no side over 16,777,216 pixels.

// An 8-bit greyscale PNG of file_bytes bytes declaring width x height: the
// header, then image data of zero bytes in chunks of at most 1 MiB. The size
// is judged from the header before any data is read.
std::vector<std::uint8_t> declared_png(std::uint32_t width, std::uint32_t height,
                                       std::uint64_t file_bytes) {
  std::vector<std::uint8_t> file = png_file({ihdr_chunk(width, height, 8, 0)});
  constexpr std::size_t kChunkOverhead = 12;
  while (file.size() < file_bytes) {
    const std::uint64_t room = file_bytes - file.size() - kChunkOverhead;
    const std::size_t data_bytes = static_cast<std::size_t>(std::min<std::uint64_t>(room, kMiB));
    const std::vector<std::uint8_t> chunk =
        chunk_bytes(PngChunk{"IDAT", std::vector<std::uint8_t>(data_bytes, 0)});
    file.insert(file.end(), chunk.begin(), chunk.end());
  }
  return file;
}

struct ReadCase {
  const char* label;
  std::uint32_t width_px;
  std::uint32_t height_px;
  std::uint64_t file_bytes;
  bool accepted;
};

// Names the row in test listings.
void PrintTo(const ReadCase& row, std::ostream* out) { print_label(out, {row.label}); }

class CvellicorReadLimit : public CvellicorLimits,
                           public ::testing::WithParamInterface<ReadCase> {};

TEST_P(CvellicorReadLimit, HoldsAtTheBoundary) {
  const ReadCase& row = GetParam();
  const std::vector<std::uint8_t> file = declared_png(row.width_px, row.height_px, row.file_bytes);
  ASSERT_EQ(file.size(), row.file_bytes);
  write_file(directory_.file("declared.png"), file);
  // The automatic ink rule first counts colours without making the map, so
  // an accepted size costs no more than the decoded row.
  const ProgramRun result = run({"--ink", "auto", "declared.png"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.output, row.accepted ? kPngDataBroken : kPictureTooLarge);
  EXPECT_EQ(directory_.entries(), std::vector<std::string>{"declared.png"});
}

// Floor: 32 x 2,097,120 is a map of 8,388,480 bytes and a row of 128:
// 8 MiB exactly, from a file of 100 bytes. One more row is 4 bytes over.
// Per file byte: 32 x 3,199,968 takes 12,800,000 bytes, 128 times a file of
// 100,000 bytes; a byte less of file is 128 bytes less of limit.
// Cap: 1,048,576 x 4,064 takes 532,676,608 + 4,194,304 = 512 MiB; a file of
// 5 MiB would allow 640 MiB at 128 per byte. One more row is over the cap.
// Sides: 16,777,216 pixels wide or high pass with a file large enough for
// their map and row (69,206,016 and 67,108,868 bytes); one pixel more is
// refused although the file would allow its map.
INSTANTIATE_TEST_SUITE_P(
    Pictures, CvellicorReadLimit,
    ::testing::Values(ReadCase{"FloorExactly", 32, 2097120, 100, true},
                      ReadCase{"FloorAndOneRow", 32, 2097121, 100, false},
                      ReadCase{"PerFileByteExactly", 32, 3199968, 100000, true},
                      ReadCase{"PerFileByteOneFileByteShort", 32, 3199968, 99999, false},
                      ReadCase{"CapExactly", 1048576, 4064, 5 * kMiB, true},
                      ReadCase{"CapAndOneRow", 1048576, 4065, 5 * kMiB, false},
                      ReadCase{"WidestSide", 16777216, 1, 540672, true},
                      ReadCase{"WidestSideAndOnePixel", 16777217, 1, 540673, false},
                      ReadCase{"TallestSide", 1, 16777216, 524289, true},
                      ReadCase{"TallestSideAndOnePixel", 1, 16777217, 524289, false}),
    [](const auto& row) { return std::string(row.param.label); });

}  // namespace
}  // namespace vellicor::test
