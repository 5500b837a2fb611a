// Drawn pictures saved as PNG and BMP and read back by the engine's own
// picture readers: the ink a conversion sees is the drawing's ink (and its
// marks, under the dark rule), and a failed save leaves nothing behind.
#include "engine/draw/picture_writer.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/picture/picture_source.hpp"
#include "tests/engine/ink_map_text.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

// A picture from rows: '#' ink, '.' paper, '-' separator, 'm' mark.
DrawnPicture picture_of(const std::vector<std::string>& rows, bool two_colours) {
  DrawnPicture picture;
  picture.width = static_cast<std::uint32_t>(rows.front().size());
  picture.height = static_cast<std::uint32_t>(rows.size());
  picture.two_colours = two_colours;
  for (const std::string& row : rows) {
    for (const char pixel : row) {
      picture.pixels.push_back(pixel == '#'   ? kDrawnInk
                               : pixel == '-' ? kDrawnSeparator
                               : pixel == 'm' ? kDrawnMark
                                              : kDrawnPaper);
    }
  }
  return picture;
}

// Ink and paper only, 9 pixels wide so a one-bit row takes a second byte,
// with ink in the first and last columns and rows.
const std::vector<std::string> kTwoColours = {
    "#.......#",
    ".##...##.",
    "....#....",
    "#########",
};

// All four colours: marks over glyphs, separators between cells.
const std::vector<std::string> kFourColours = {
    "mmm-mm-",
    "#.#-.#-",
    "---#---",
    ".#.-#.#",
};

// The rows as the dark rule reads them: ink and marks are ink, the light
// grey separators and the paper are not.
std::vector<std::string> dark_ink_of(std::vector<std::string> rows) {
  for (std::string& row : rows) {
    for (char& pixel : row) pixel = pixel == '#' || pixel == 'm' ? '#' : '.';
  }
  return rows;
}

using Writer = ResultCode (*)(FileSystem&, const char*, const DrawnPicture&, ErrorDetail*);

struct WriterRow {
  const char* name;
  Writer writer;
  bool two_colours;
};
void PrintTo(const WriterRow& row, std::ostream* out) { *out << row.name; }

class PictureWriter : public ::testing::TestWithParam<WriterRow> {
 protected:
  void SetUp() override {
    if (GetParam().writer == &write_png_picture && !writes_png_pictures()) {
      GTEST_SKIP() << "this build writes no PNG";
    }
  }
};

TEST_P(PictureWriter, ReadsBackAsTheDrawnInkUnderTheDarkRule) {
  const WriterRow& row = GetParam();
  const std::vector<std::string>& rows = row.two_colours ? kTwoColours : kFourColours;
  const TempDir dir;
  const std::string path = dir.file("drawn");
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(
      row.writer(system_file_system(), path.c_str(), picture_of(rows, row.two_colours), &detail),
      ResultCode::kOk)
      << static_cast<int>(detail);
  const ReadPicture read = read_ink(path, InkRule::kDark);
  ASSERT_EQ(read.result, ResultCode::kOk) << static_cast<int>(read.detail);
  EXPECT_EQ(ink_map_rows(read.map), dark_ink_of(rows));
}

TEST_P(PictureWriter, FailedWriteLeavesNothing) {
  const WriterRow& row = GetParam();
  const TempDir dir;
  FaultFileSystem files;
  files.fail_call(FileCall::kWrite, 1);
  ErrorDetail detail = ErrorDetail::kNone;
  EXPECT_EQ(row.writer(files, dir.file("drawn").c_str(), picture_of(kTwoColours, row.two_colours),
                       &detail),
            ResultCode::kFileAccess);
  EXPECT_EQ(detail, ErrorDetail::kFileAccess);
  EXPECT_TRUE(dir.entries().empty());
  EXPECT_EQ(files.open_handles(), 0);
}

TEST_P(PictureWriter, FailedWriteKeepsAnOldPictureWhole) {
  const WriterRow& row = GetParam();
  const TempDir dir;
  write_text(dir.file("drawn"), "old picture");
  FaultFileSystem files;
  files.fail_call(FileCall::kRename, 1);
  files.fail_call(FileCall::kLinkUnnamed, 1);
  ErrorDetail detail = ErrorDetail::kNone;
  EXPECT_EQ(row.writer(files, dir.file("drawn").c_str(), picture_of(kTwoColours, row.two_colours),
                       &detail),
            ResultCode::kFileAccess);
  EXPECT_EQ(read_text(dir.file("drawn")), "old picture");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"drawn"});
}

TEST_P(PictureWriter, RefusesAPictureWithoutPixelsOrWithUnknownColours) {
  const WriterRow& row = GetParam();
  const TempDir dir;
  DrawnPicture empty;
  empty.two_colours = row.two_colours;
  DrawnPicture unknown = picture_of({"#."}, row.two_colours);
  unknown.pixels[1] = 7;
  DrawnPicture short_of_pixels = picture_of({"#.", ".#"}, row.two_colours);
  short_of_pixels.pixels.pop_back();
  for (const DrawnPicture* picture : {&empty, &unknown, &short_of_pixels}) {
    ErrorDetail detail = ErrorDetail::kNone;
    EXPECT_EQ(row.writer(system_file_system(), dir.file("drawn").c_str(), *picture, &detail),
              ResultCode::kUnusableInput);
    EXPECT_EQ(detail, ErrorDetail::kUnusableContent);
  }
  EXPECT_TRUE(dir.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, PictureWriter,
                         ::testing::Values(WriterRow{"PngPalette", &write_png_picture, false},
                                           WriterRow{"PngOneBit", &write_png_picture, true},
                                           WriterRow{"BmpPalette", &write_bmp_picture, false},
                                           WriterRow{"BmpOneBit", &write_bmp_picture, true}),
                         [](const auto& row) { return std::string(row.param.name); });

// A two-colour BMP is a picture the plain conversion reads: one bit a
// pixel, the drawing's ink on the palette's black.
TEST(BmpPictureWriter, OneBitPictureIsThePlainConversionsInput) {
  const TempDir dir;
  const std::string path = dir.file("drawn.bmp");
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(
      write_bmp_picture(system_file_system(), path.c_str(), picture_of(kTwoColours, true), &detail),
      ResultCode::kOk);
  InkMap map;
  ASSERT_EQ(read_one_bit_bmp(system_file_system(), path.c_str(), map, &detail), ResultCode::kOk)
      << static_cast<int>(detail);
  EXPECT_EQ(ink_map_rows(map), kTwoColours);
  // 62 bytes of headers and palette, then 4 rows of 4 bytes (9 bits padded).
  EXPECT_EQ(read_file(path).size(), 62U + 4U * 4U);
}

// The exact bytes of a one-pixel-wide one-bit BMP: black first in the
// palette, ink as bit 0, the bottom row first.
TEST(BmpPictureWriter, WritesTheWorkedOneBitExample) {
  const TempDir dir;
  const std::string path = dir.file("drawn.bmp");
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(
      write_bmp_picture(system_file_system(), path.c_str(), picture_of({"#", "."}, true), &detail),
      ResultCode::kOk);
  const std::
      vector<std::uint8_t>
          expected =
              {
                  'B',  'M', 70, 0, 0,    0,    0, 0, 0,    0,    62,  0,   0,   0,  // file header
                  40,   0,   0,  0, 1,    0,    0, 0, 2,    0,    0,   0,   1,   0,
                  1,    0,   0,  0, 0,    0,  // size, width, height, planes, bits, BI_RGB
                  8,    0,   0,  0, 0x13, 0x0B, 0, 0, 0x13, 0x0B, 0,   0,   2,   0,
                  0,    0,   0,  0, 0,    0,    0, 0, 0,    0,    255, 255, 255, 0,  // black, white
                  0x80, 0,   0,  0,  // bottom row: paper (bit 1)
                  0x00, 0,   0,  0,  // top row: ink (bit 0)
              };
  EXPECT_EQ(read_file(path), expected);
}

}  // namespace
}  // namespace vellicor::test
