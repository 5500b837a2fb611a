// The BMP loader when a file call fails, and when the file's size is unknown.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "tests/engine/loaded_picture.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor {
namespace {

using test::FileCall;

const std::vector<std::string> kGlyphRows = {
    "#.#..##",
    "###...#",
    "#.#..##",
};

// ---------------------------------------------------------------------------
// Each file call of a load failing in turn. Reads come in the order file
// header, information header, palette, pixels; the first seek goes to the
// palette, the second to the pixel data.

struct FaultCase {
  const char* name;
  FileCall call;
  int nth;
  ErrorDetail detail;
  ResultCode result;
};

// Names the row in test listings.
void PrintTo(const FaultCase& row, std::ostream* out) { test::print_label(out, {row.name}); }

class BmpLoaderFault : public testing::TestWithParam<FaultCase> {};

TEST_P(BmpLoaderFault, ReportsFailureAndClosesFile) {
  test::FaultFileSystem fs;
  fs.fail_call(GetParam().call, GetParam().nth);
  const test::LoadedPicture loaded = test::load_bytes(fs, test::make_one_bit_bmp(kGlyphRows));
  EXPECT_EQ(to_int(loaded.result), to_int(GetParam().result));
  EXPECT_EQ(to_int(loaded.detail), to_int(GetParam().detail));
  EXPECT_EQ(loaded.pixels.bytes, nullptr);
  EXPECT_EQ(fs.open_handles(), 0);
}

constexpr ErrorDetail kAccess = ErrorDetail::kFileAccess;

INSTANTIATE_TEST_SUITE_P(
    Calls, BmpLoaderFault,
    testing::Values(
        FaultCase{"Open", FileCall::kOpenForReading, 1, kAccess, ResultCode::kFileAccess},
        FaultCase{"FileHeaderRead", FileCall::kRead, 1, kAccess, ResultCode::kFileAccess},
        FaultCase{"InfoHeaderRead", FileCall::kRead, 2, kAccess, ResultCode::kFileAccess},
        FaultCase{"PaletteSeek", FileCall::kSeek, 1, kAccess, ResultCode::kFileAccess},
        FaultCase{"PaletteRead", FileCall::kRead, 3, kAccess, ResultCode::kFileAccess},
        // The move to the pixel data alone reports unusable input.
        FaultCase{"PixelSeek", FileCall::kSeek, 2, kAccess, ResultCode::kUnusableInput},
        FaultCase{"PixelRead", FileCall::kRead, 4, kAccess, ResultCode::kFileAccess}),
    [](const testing::TestParamInfo<FaultCase>& row) { return std::string(row.param.name); });

TEST(BmpLoaderFiles, ClosesFileOnceAfterSuccessfulLoad) {
  test::FaultFileSystem fs;
  const test::LoadedPicture loaded = test::load_bytes(fs, test::make_one_bit_bmp(kGlyphRows));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(fs.open_handles(), 0);
  EXPECT_EQ(fs.calls(FileCall::kClose), 1);
  EXPECT_EQ(test::ink_rows(loaded), kGlyphRows);
}

// ---------------------------------------------------------------------------
// Without a known file size the pixels arrive in growing chunks.

// A pattern tall and wide enough that its pixel data exceeds the first chunk.
std::vector<std::string> large_pattern() {
  constexpr int kWidth = 2000;  // 252 bytes per row
  constexpr int kHeight = 300;  // 75600 bytes in all
  std::vector<std::string> rows(kHeight, std::string(kWidth, '.'));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if ((x * 7 + y * 3) % 11 == 0) rows[y][x] = '#';
    }
  }
  return rows;
}

class BmpLoaderUnknownSize : public testing::TestWithParam<bool> {};

TEST_P(BmpLoaderUnknownSize, ReadsWholePictureInChunks) {
  test::BmpOptions options;
  options.top_down = GetParam();
  const std::vector<std::string> rows = large_pattern();
  test::FaultFileSystem fs;
  fs.fail_call(FileCall::kSize, 1);
  const test::LoadedPicture loaded = test::load_bytes(fs, test::make_one_bit_bmp(rows, options));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(fs.calls(FileCall::kSize), 1);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 75600u);
  EXPECT_EQ(test::ink_rows(loaded), rows);
  EXPECT_EQ(fs.open_handles(), 0);
}

INSTANTIATE_TEST_SUITE_P(RowOrders, BmpLoaderUnknownSize, testing::Bool());

TEST(BmpLoaderFiles, StopsAtEndOfFileOfUnknownSizeDespiteHugeDeclaredSize) {
  test::BmpOptions options;
  options.top_down = true;
  const std::vector<std::string> rows = large_pattern();
  std::vector<std::uint8_t> bytes = test::make_one_bit_bmp(rows, options);
  test::put_u32(bytes, test::kOffBiSizeImage, 0x7FEEDDCC);
  test::FaultFileSystem fs;
  fs.fail_call(FileCall::kSize, 1);
  const test::LoadedPicture loaded = test::load_bytes(fs, bytes);
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biSizeImage, 0x7FEEDDCCu);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 75600u);
  EXPECT_EQ(test::ink_rows(loaded), rows);
}

TEST(BmpLoaderFiles, FailsWhenAChunkReadFails) {
  test::FaultFileSystem fs;
  fs.fail_call(FileCall::kSize, 1);
  fs.fail_call(FileCall::kRead, 5);  // the second pixel chunk
  const test::LoadedPicture loaded = test::load_bytes(fs, test::make_one_bit_bmp(large_pattern()));
  EXPECT_EQ(to_int(loaded.result), to_int(ResultCode::kFileAccess));
  EXPECT_EQ(to_int(loaded.detail), to_int(kAccess));
  EXPECT_EQ(loaded.pixels.bytes, nullptr);
  EXPECT_EQ(fs.open_handles(), 0);
}

}  // namespace
}  // namespace vellicor
