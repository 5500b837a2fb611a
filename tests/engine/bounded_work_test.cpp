// Pictures that declare far more pixel data than their file holds: the
// undelivered part is paper and costs no work.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/engine/font_conversion.hpp"
#include "tests/support/bdf_check.hpp"

namespace vellicor::test {
namespace {

constexpr std::uint32_t kWidestDeclaredWidth = 0x7FFFFFFF;
// Rows of four bytes: the most that keeps stride * rows within 32 bits.
constexpr std::uint32_t kTallestDeclaredHeight = 0xFFFFFFFFu / 4;

TEST(BoundedWork, WidthOfTwoGigapixelsInSmallFile) {
  // Bottom-up, so the delivered bytes are the start of the last row.
  const std::vector<std::string> rows = {std::string(64, '.'), ".#.##..#" + std::string(56, '.')};
  std::vector<std::uint8_t> file = make_one_bit_bmp(rows);
  const std::uint32_t stride = (kWidestDeclaredWidth / 32 + 1) * 4;
  put_u32(file, kOffBiWidth, kWidestDeclaredWidth);
  put_u32(file, kOffBiSizeImage, stride * 2);
  TempDir dir;
  write_file(dir.file("in.bmp"), file);
  const ConversionRun run = convert_written(dir, plain_options());
  ASSERT_EQ(run.result, ResultCode::kOk);
  // Column 7 closes at the first undelivered column, like any blank column.
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"), {{65, picture_ink(rows, 1, 1, 0, 1)},
                                                    {66, picture_ink(rows, 3, 2, 0, 1)},
                                                    {67, picture_ink(rows, 7, 1, 0, 1)}}));
}

TEST(BoundedWork, BillionRowsInSmallFile) {
  // Top-down, so the delivered bytes are the first rows.
  const std::vector<std::string> rows = {"........", ".#.#....", ".#......", "........"};
  BmpOptions bmp;
  bmp.top_down = true;
  std::vector<std::uint8_t> file = make_one_bit_bmp(rows, bmp);
  put_u32(file, kOffBiHeight,
          static_cast<std::uint32_t>(-static_cast<std::int32_t>(kTallestDeclaredHeight)));
  put_u32(file, kOffBiSizeImage, kTallestDeclaredHeight * 4);
  TempDir dir;
  write_file(dir.file("in.bmp"), file);
  const ConversionRun run = convert_written(dir, plain_options());
  ASSERT_EQ(run.result, ResultCode::kOk);
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"), {{65, picture_ink(rows, 1, 1, 0, 2)},
                                                    {66, picture_ink(rows, 3, 1, 0, 2)}}));
}

TEST(BoundedWork, DeclaredButUndeliveredRowsHoldNoInk) {
  // The BMP Suite's file declares about 2 GiB of rows stored bottom row
  // first; none of the rows it addresses was delivered.
  const std::filesystem::path shared = shared_data_dir();
  if (shared.empty()) GTEST_SKIP() << "the shared test data folder is absent";
  TempDir dir;
  std::filesystem::copy_file(shared / "bmpsuite" / "b" / "badbitssize.bmp", dir.file("in.bmp"));
  const ConversionRun run = convert_written(dir, plain_options());
  EXPECT_EQ(run.result, ResultCode::kUnusableInput);
  EXPECT_EQ(run.detail, ErrorDetail::kUnusableContent);
  EXPECT_FALSE(run.font_exists);
}

}  // namespace
}  // namespace vellicor::test
