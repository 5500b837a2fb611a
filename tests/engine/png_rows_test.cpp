// The row layouts PNG decoders hand out, read back as pixels and as runs of
// colour keys: the 16-bit RGB and grey layouts come only from the Windows
// decoder, so they are checked here on every build.
#include "engine/picture/png_rows.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "tests/engine/run_log.hpp"

namespace vellicor {
namespace {

// Samples as a decoder stores them: 16-bit ones in the host's byte order.
std::vector<std::uint8_t> host_order(const std::vector<std::uint16_t>& samples) {
  std::vector<std::uint8_t> bytes(samples.size() * sizeof(std::uint16_t));
  std::memcpy(bytes.data(), samples.data(), bytes.size());
  return bytes;
}

bool same(Rgba16 a, Rgba16 b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

TEST(PngRows, EveryLayoutGivesItsPixels) {
  const std::vector<std::uint8_t> rgba8 = {0x00, 0x80, 0xFF, 0x01, 0x10, 0x20, 0x30, 0x00};
  EXPECT_TRUE(
      same(png_pixel_at<PngRowLayout::kRgba8>(rgba8.data(), 0), {0x0000, 0x8080, 0xFFFF, 0x0101}));
  EXPECT_TRUE(
      same(png_pixel_at<PngRowLayout::kRgba8>(rgba8.data(), 1), {0x1010, 0x2020, 0x3030, 0x0000}));

  const auto rgba16 = host_order({1, 2, 3, 4, 0xFFFF, 0x1234, 0, 0x8000});
  EXPECT_TRUE(
      same(png_pixel_at<PngRowLayout::kRgba16>(rgba16.data(), 1), {0xFFFF, 0x1234, 0, 0x8000}));

  const auto rgb16 = host_order({1, 2, 3, 0xABCD, 0x0102, 0xFFFE});
  EXPECT_TRUE(
      same(png_pixel_at<PngRowLayout::kRgb16>(rgb16.data(), 1), {0xABCD, 0x0102, 0xFFFE, 0xFFFF}));

  const auto grey16 = host_order({0x0000, 0x7FFF, 0xFFFF});
  EXPECT_TRUE(same(png_pixel_at<PngRowLayout::kGrey16>(grey16.data(), 1),
                   {0x7FFF, 0x7FFF, 0x7FFF, 0xFFFF}));
  EXPECT_EQ(bytes_per_pixel(PngRowLayout::kGrey16), 2u);
  EXPECT_EQ(bytes_per_pixel(PngRowLayout::kRgb16), 6u);
}

using KeyLog = test::RunLog<ColourKey>;

TEST(PngRows, TransparentPixelsOfAnyColourMakeOneRun) {
  // Opaque white, then three transparent pixels of different colours, then
  // opaque white again: the transparent ones are one colour for the rules.
  const std::vector<std::uint8_t> row = {255, 255, 255, 255, 9, 9, 9,   0,   200, 0,
                                         0,   0,   0,   0,   0, 0, 255, 255, 255, 255};
  KeyLog log;
  take_png_row(log, PngRowLayout::kRgba8, row.data(), 6, 0, 1, 5);
  constexpr ColourKey kWhite = 0xFFFFFFFFFFFFFFFFu;
  EXPECT_EQ(log.runs, (std::vector<KeyLog::Run>{
                          {6, 0, 1, 1, kWhite}, {6, 1, 1, 3, 0}, {6, 4, 1, 1, kWhite}}));
}

}  // namespace
}  // namespace vellicor
