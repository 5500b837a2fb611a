// The BMP loader on pictures built in memory: header checks, palette and ink
// rules, and pixel data that the file delivers only in part.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/engine/loaded_picture.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/fault_file_system.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor {
namespace {

using test::BmpOptions;
using test::get_u32;
using test::load_bytes;
using test::make_one_bit_bmp;
using test::put_u16;
using test::put_u32;

const std::vector<std::string> kGlyphRows = {
    "#..#.##",
    ".##..#.",
    "#..#.##",
};

// Replaces the two-entry palette of a built picture with colours given as
// 0xRRGGBB, moving the pixel data behind them.
std::vector<std::uint8_t> with_palette(std::vector<std::uint8_t> bytes,
                                       const std::vector<std::uint32_t>& colours) {
  const std::size_t palette_offset = 14 + get_u32(bytes, test::kOffBiSize);
  std::vector<std::uint8_t> entries;
  for (const std::uint32_t colour : colours) {
    entries.push_back(static_cast<std::uint8_t>(colour));        // blue
    entries.push_back(static_cast<std::uint8_t>(colour >> 8));   // green
    entries.push_back(static_cast<std::uint8_t>(colour >> 16));  // red
    entries.push_back(0);
  }
  const auto palette_start = bytes.begin() + static_cast<std::ptrdiff_t>(palette_offset);
  bytes.erase(palette_start, palette_start + 8);
  bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(palette_offset), entries.begin(),
               entries.end());
  put_u32(bytes, test::kOffBfOffBits, static_cast<std::uint32_t>(palette_offset + entries.size()));
  put_u32(bytes, test::kOffBfSize, static_cast<std::uint32_t>(bytes.size()));
  put_u32(bytes, test::kOffBiClrUsed, static_cast<std::uint32_t>(colours.size()));
  return bytes;
}

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// ---------------------------------------------------------------------------
// Refusals decided by the headers and the palette: one row per check.

struct RefusalCase {
  const char* name;
  std::function<std::vector<std::uint8_t>()> make;
  ErrorDetail detail;
  ResultCode result;
};

// Names the row in test listings.
void PrintTo(const RefusalCase& row, std::ostream* out) { test::print_label(out, {row.name}); }

std::vector<std::uint8_t> glyph_bmp() { return make_one_bit_bmp(kGlyphRows); }

std::function<std::vector<std::uint8_t>()> with_u32(std::size_t offset, std::uint32_t value) {
  return [=] {
    std::vector<std::uint8_t> bytes = glyph_bmp();
    put_u32(bytes, offset, value);
    return bytes;
  };
}

std::function<std::vector<std::uint8_t>()> with_bit_count(std::uint16_t bits) {
  return [=] {
    std::vector<std::uint8_t> bytes = glyph_bmp();
    put_u16(bytes, test::kOffBiBitCount, bits);
    return bytes;
  };
}

std::function<std::vector<std::uint8_t>()> first_bytes(std::size_t count) {
  return [=] {
    std::vector<std::uint8_t> bytes = glyph_bmp();
    bytes.resize(count);
    return bytes;
  };
}

std::vector<std::uint8_t> no_black_palette() {
  return with_palette(glyph_bmp(), {kWhite, 0x000001});
}

class BmpLoaderRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(BmpLoaderRefusal, StoresDetailClosesFileAndHoldsNoPixels) {
  test::FaultFileSystem fs;
  const test::LoadedPicture loaded = load_bytes(fs, GetParam().make());
  EXPECT_EQ(to_int(loaded.result), to_int(GetParam().result));
  EXPECT_EQ(to_int(loaded.detail), to_int(GetParam().detail));
  EXPECT_EQ(loaded.pixels.bytes, nullptr);
  EXPECT_EQ(fs.open_handles(), 0);
  EXPECT_EQ(fs.calls(test::FileCall::kClose), 1);
}

constexpr ErrorDetail kNotBmp = ErrorDetail::kNotBmp;
constexpr ErrorDetail kUnsupported = ErrorDetail::kUnsupported;
constexpr ErrorDetail kUnusable = ErrorDetail::kUnusableContent;
constexpr ErrorDetail kAccess = ErrorDetail::kFileAccess;
constexpr ResultCode kInput = ResultCode::kUnusableInput;
constexpr ResultCode kFile = ResultCode::kFileAccess;

INSTANTIATE_TEST_SUITE_P(
    Headers, BmpLoaderRefusal,
    testing::Values(
        RefusalCase{"EmptyFile", first_bytes(0), kNotBmp, kInput},
        RefusalCase{"OneByte", first_bytes(1), kNotBmp, kInput},
        RefusalCase{"NotBm",
                    [] {
                      std::vector<std::uint8_t> bytes = glyph_bmp();
                      bytes[1] = 'A';
                      return bytes;
                    },
                    kNotBmp, kInput},
        RefusalCase{"FileHeaderOnly", first_bytes(14), kUnusable, kInput},
        // The bit count and everything after it are missing and read as 0.
        RefusalCase{"HeadersCutBeforeBitCount", first_bytes(28), kUnusable, kInput},
        // Wider pixels are refused before any other value is looked at.
        RefusalCase{"FourBitsWithZeroWidth",
                    [] {
                      std::vector<std::uint8_t> bytes = glyph_bmp();
                      put_u16(bytes, test::kOffBiBitCount, 4);
                      put_u32(bytes, test::kOffBiWidth, 0);
                      put_u32(bytes, test::kOffBiSizeImage, 0);
                      put_u32(bytes, test::kOffBfOffBits, 0);
                      return bytes;
                    },
                    kUnsupported, kFile},
        RefusalCase{"EightBits", with_bit_count(8), kUnsupported, kFile},
        RefusalCase{"RunLengthCompressed", with_u32(test::kOffBiCompression, 1), kUnsupported,
                    kFile},
        RefusalCase{"ZeroBits", with_bit_count(0), kUnusable, kInput},
        RefusalCase{"NegativeBits", with_bit_count(0xFFFF), kUnusable, kInput},
        RefusalCase{"ZeroHeight", with_u32(test::kOffBiHeight, 0), kUnusable, kInput},
        RefusalCase{"ZeroInfoHeaderSize", with_u32(test::kOffBiSize, 0), kUnusable, kInput},
        RefusalCase{"ZeroWidth", with_u32(test::kOffBiWidth, 0), kUnusable, kInput},
        RefusalCase{"NegativeWidth", with_u32(test::kOffBiWidth, 0xFFFFFFF9), kUnusable, kInput},
        RefusalCase{"ZeroPixelOffset", with_u32(test::kOffBfOffBits, 0), kUnusable, kInput},
        RefusalCase{"ZeroFileSize", with_u32(test::kOffBfSize, 0), kUnusable, kInput},
        RefusalCase{"PixelOffset53", with_u32(test::kOffBfOffBits, 53), kUnusable, kInput},
        RefusalCase{"SizeImageBelowRowCount", with_u32(test::kOffBiSizeImage, 2), kUnusable,
                    kInput},
        // Three rows of four bytes need 12; the file still holds all of them.
        RefusalCase{"SizeImageOneShortOfRows", with_u32(test::kOffBiSizeImage, 11), kUnusable,
                    kInput},
        // 16 rows of 0x10000000 bytes do not fit 32 bits.
        RefusalCase{"RowsOverflowSize",
                    [] {
                      std::vector<std::uint8_t> bytes = glyph_bmp();
                      put_u32(bytes, test::kOffBiWidth, 0x7FFFFFFF);
                      put_u32(bytes, test::kOffBiHeight, 16);
                      put_u32(bytes, test::kOffBiSizeImage, 0xFFFFFFFF);
                      return bytes;
                    },
                    kUnusable, kInput},
        // abs(INT32_MIN) rows, each 4 bytes, overflow; the row count itself must not.
        RefusalCase{"MostNegativeHeight",
                    [] {
                      std::vector<std::uint8_t> bytes = glyph_bmp();
                      put_u32(bytes, test::kOffBiHeight, 0x80000000);
                      put_u32(bytes, test::kOffBiSizeImage, 0xFFFFFFFF);
                      return bytes;
                    },
                    kUnusable, kInput},
        RefusalCase{"ZeroSizeImageWithOverflowingRows",
                    [] {
                      std::vector<std::uint8_t> bytes = glyph_bmp();
                      put_u32(bytes, test::kOffBiSizeImage, 0);
                      put_u32(bytes, test::kOffBiHeight, 0x40000000);
                      return bytes;
                    },
                    kUnusable, kInput},
        RefusalCase{"PaletteOf257", with_u32(test::kOffBiClrUsed, 257), kUnusable, kInput},
        RefusalCase{"NoBlackEntry", no_black_palette, kUnusable, kInput},
        RefusalCase{"PaletteCutShort", first_bytes(58), kAccess, kFile},
        // The information header claims to run far past the end of the file.
        RefusalCase{"PalettePastEnd", with_u32(test::kOffBiSize, 0xFFFFFFF0), kAccess, kFile}),
    [](const testing::TestParamInfo<RefusalCase>& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------
// Pictures that load.

TEST(BmpLoader, LoadsBottomUpPictureAsDrawn) {
  const test::LoadedPicture loaded = load_bytes(make_one_bit_bmp(kGlyphRows));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.detail, test::LoadedPicture::kDetailNotStored);
  EXPECT_EQ(loaded.ink_indices(), std::vector<int>{0});
  EXPECT_EQ(loaded.info_header.biWidth, 7);
  EXPECT_EQ(loaded.info_header.biHeight, 3);
  EXPECT_EQ(loaded.info_header.biSizeImage, 12u);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 12u);
  EXPECT_EQ(test::ink_rows(loaded), kGlyphRows);
}

TEST(BmpLoader, LoadsTopDownPictureAsDrawn) {
  BmpOptions options;
  options.top_down = true;
  const test::LoadedPicture loaded = load_bytes(make_one_bit_bmp(kGlyphRows, options));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biHeight, -3);
  EXPECT_EQ(test::ink_rows(loaded), kGlyphRows);
}

TEST(BmpLoader, TakesBottomUpRowsFromTheEndOfALargerSizeImage) {
  BmpOptions options;
  options.extra_pixel_bytes = 8;
  const test::LoadedPicture loaded = load_bytes(make_one_bit_bmp(kGlyphRows, options));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biSizeImage, 20u);
  EXPECT_EQ(test::ink_rows(loaded), kGlyphRows);
}

TEST(BmpLoader, AcceptsPixelOffset54) {
  std::vector<std::uint8_t> bytes = make_one_bit_bmp(kGlyphRows);
  put_u32(bytes, test::kOffBfOffBits, 54);
  const test::LoadedPicture loaded = load_bytes(bytes);
  EXPECT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 12u);
}

// ---------------------------------------------------------------------------
// Which palette entries are ink.

TEST(BmpLoader, TakesIndexOneAsInkWhenPaletteIsWhiteThenBlack) {
  BmpOptions options;
  options.ink_is_index_one = true;
  const test::LoadedPicture loaded = load_bytes(make_one_bit_bmp(kGlyphRows, options));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.ink_indices(), std::vector<int>{1});
  EXPECT_EQ(test::ink_rows(loaded), kGlyphRows);
}

TEST(BmpLoader, MakesEveryPixelInkWhenBothEntriesAreBlack) {
  const test::LoadedPicture loaded = load_bytes(with_palette(glyph_bmp(), {kBlack, kBlack}));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.ink_indices(), (std::vector<int>{0, 1}));
  EXPECT_EQ(test::ink_rows(loaded), std::vector<std::string>(3, "#######"));
}

TEST(BmpLoader, TakesOnlyPureBlackAsInk) {
  const test::LoadedPicture loaded =
      load_bytes(with_palette(glyph_bmp(), {0x000100, 0x010000, kBlack, 0x000001}));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.ink_indices(), std::vector<int>{2});
  // No one-bit pixel can carry index 2.
  EXPECT_FALSE(test::has_ink_pixel(loaded));
}

TEST(BmpLoader, LoadsPaletteOf256BlackEntries) {
  const test::LoadedPicture loaded =
      load_bytes(with_palette(glyph_bmp(), std::vector<std::uint32_t>(256, kBlack)));
  ASSERT_EQ(to_int(loaded.result), 0);
  ASSERT_EQ(loaded.ink_count, 256);
  for (int index = 0; index < 256; ++index) EXPECT_EQ(loaded.ink_table[index], index);
}

TEST(BmpLoader, ReadsPaletteLengthTwoWhenClrUsedIsZero) {
  // Entries 2 and 3 are black but lie beyond the two the header implies.
  std::vector<std::uint8_t> bytes = with_palette(glyph_bmp(), {kWhite, kBlack, kBlack, kBlack});
  put_u32(bytes, test::kOffBiClrUsed, 0);
  const test::LoadedPicture loaded = load_bytes(bytes);
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.ink_indices(), std::vector<int>{1});
}

// ---------------------------------------------------------------------------
// Longer information headers: the palette follows the header as declared.

class BmpLoaderHeaderLength : public testing::TestWithParam<std::uint32_t> {};

TEST_P(BmpLoaderHeaderLength, ReadsPaletteWhereHeaderEnds) {
  BmpOptions options;
  options.info_header_size = GetParam();
  options.ink_is_index_one = true;
  // Bytes 54 to 61 lie inside the longer header and are zero, which would
  // read as two black entries if the palette were taken from there.
  const test::LoadedPicture loaded = load_bytes(make_one_bit_bmp(kGlyphRows, options));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biSize, GetParam());
  EXPECT_EQ(loaded.ink_indices(), std::vector<int>{1});
  EXPECT_EQ(test::ink_rows(loaded), kGlyphRows);
}

INSTANTIATE_TEST_SUITE_P(Lengths, BmpLoaderHeaderLength, testing::Values(52u, 56u, 108u, 124u));

// ---------------------------------------------------------------------------
// A size image of 0 means exactly the rows.

class BmpLoaderZeroSizeImage : public testing::TestWithParam<bool> {};

TEST_P(BmpLoaderZeroSizeImage, UsesStrideTimesRows) {
  BmpOptions options;
  options.zero_size_image = true;
  options.top_down = GetParam();
  const test::LoadedPicture loaded = load_bytes(make_one_bit_bmp(kGlyphRows, options));
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biSizeImage, 12u);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 12u);
  EXPECT_EQ(test::ink_rows(loaded), kGlyphRows);
}

INSTANTIATE_TEST_SUITE_P(RowOrders, BmpLoaderZeroSizeImage, testing::Bool());

// ---------------------------------------------------------------------------
// Pixel data that the file does not deliver reads as paper.

TEST(BmpLoader, LoadsPixelOffsetPastEndAsAllPaper) {
  std::vector<std::uint8_t> bytes = make_one_bit_bmp(kGlyphRows);
  put_u32(bytes, test::kOffBfOffBits, 5000);
  const test::LoadedPicture loaded = load_bytes(bytes);
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 0u);
  EXPECT_FALSE(test::has_ink_pixel(loaded));
}

TEST(BmpLoader, ReadsMissingTopRowsOfTruncatedFileAsPaper) {
  std::vector<std::uint8_t> bytes = make_one_bit_bmp(kGlyphRows);
  bytes.resize(bytes.size() - 4);  // the stored last row is the top row
  const test::LoadedPicture loaded = load_bytes(bytes);
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biSizeImage, 12u);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 8u);
  EXPECT_EQ(test::ink_rows(loaded),
            (std::vector<std::string>{".......", kGlyphRows[1], kGlyphRows[2]}));
}

TEST(BmpLoader, HoldsOnlyDeliveredBytesOfHugeDeclaredSize) {
  std::vector<std::uint8_t> bytes = make_one_bit_bmp(kGlyphRows);
  put_u32(bytes, test::kOffBiSizeImage, 0x7FEEDDCC);
  const test::LoadedPicture loaded = load_bytes(bytes);
  ASSERT_EQ(to_int(loaded.result), 0);
  EXPECT_EQ(loaded.info_header.biSizeImage, 0x7FEEDDCCu);
  EXPECT_EQ(loaded.pixels.delivered_bytes, 12u);
  // Bottom-up rows sit at the end of the declared size, which never arrived.
  EXPECT_FALSE(test::has_ink_pixel(loaded));
}

}  // namespace
}  // namespace vellicor
