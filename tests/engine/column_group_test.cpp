// Column classification 64 columns at a time, checked column by column
// against the ink drawn in text rows, over pictures whose widths straddle the
// word boundaries, in both row orders and palettes, and with rows missing
// from the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/layout/column_ink.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/one_bit_bmp_ink.hpp"
#include "tests/engine/loaded_picture.hpp"
#include "tests/support/bmp_builder.hpp"

namespace vellicor::test {
namespace {

struct GroupCase {
  const char* name;
  std::uint32_t width;
  std::uint32_t height;
  bool top_down;
  bool ink_is_index_one;
  // Pixel bytes cut off the end of the file (0: the whole picture is there).
  std::uint32_t missing_bytes;
};

// CTest lists each row under its name rather than its bytes.
void PrintTo(const GroupCase& row, std::ostream* out) { *out << row.name; }

// Random columns of every kind the cutter tells apart: blank, ink in row 0
// only, ink from row 0 down, and ink spans below row 0.
std::vector<std::string> random_rows(const GroupCase& shape, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<std::string> rows(shape.height, std::string(shape.width, '.'));
  for (std::uint32_t x = 0; x < shape.width; ++x) {
    constexpr std::uint32_t kKinds = 5;
    switch (random() % kKinds) {
      case 0:
        break;  // blank
      case 1:
        rows[0][x] = '#';
        break;
      default:
        for (std::uint32_t y = 0; y < shape.height; ++y) {
          if (random() % 3 == 0) rows[y][x] = '#';
        }
    }
  }
  return rows;
}

// What the file delivers of row y (top row first): '#' only where the row's
// pixel byte is among the file's bytes.
bool delivered_ink(const std::vector<std::string>& rows, const GroupCase& shape, std::uint32_t x,
                   std::uint32_t y) {
  const std::uint64_t stride = (shape.width + 31) / 32 * 4;
  const std::uint64_t stored_row = shape.top_down ? y : shape.height - 1 - y;
  const std::uint64_t delivered = stride * shape.height - shape.missing_bytes;
  return stored_row * stride + x / 8 < delivered && rows[y][x] == '#';
}

class ColumnGroupClassify : public ::testing::TestWithParam<GroupCase> {};

TEST_P(ColumnGroupClassify, MatchesDrawnInkOfEveryColumn) {
  const GroupCase& shape = GetParam();
  const std::vector<std::string> rows = random_rows(shape, shape.width * 131 + shape.height);
  BmpOptions bmp;
  bmp.top_down = shape.top_down;
  bmp.ink_is_index_one = shape.ink_is_index_one;
  std::vector<std::uint8_t> file = make_one_bit_bmp(rows, bmp);
  file.resize(file.size() - shape.missing_bytes);
  const LoadedPicture loaded = load_bytes(file);
  ASSERT_EQ(loaded.result, ResultCode::kOk);
  const InkMap picture = ink_map_of(loaded);

  bool any_ink = false;
  for (std::uint32_t y = 0; y < shape.height; ++y) {
    for (std::uint32_t x = 0; x < shape.width; ++x)
      any_ink = any_ink || delivered_ink(rows, shape, x, y);
  }
  EXPECT_EQ(picture.has_ink(), any_ink);

  const std::uint32_t groups = (shape.width + kColumnsPerGroup - 1) / kColumnsPerGroup + 1;
  for (std::uint32_t group_index = 0; group_index < groups; ++group_index) {
    ColumnGroup group;
    classify_column_group(picture, group_index, group);
    for (std::uint32_t i = 0; i < kColumnsPerGroup; ++i) {
      const std::uint32_t x = group_index * kColumnsPerGroup + i;
      bool has_ink = false;
      std::uint32_t first = 0;
      std::uint32_t last = 0;
      for (std::uint32_t y = 0; x < shape.width && y < shape.height; ++y) {
        if (!delivered_ink(rows, shape, x, y)) continue;
        if (!has_ink) first = y;
        has_ink = true;
        last = y;
      }
      SCOPED_TRACE("column " + std::to_string(x));
      ASSERT_EQ((group.has_ink & column_bit(i)) != 0, has_ink);
      ASSERT_EQ((group.ink_columns & column_bit(i)) != 0, has_ink && last != 0);
      if (!has_ink) continue;
      ASSERT_EQ(group.first[i], first);
      ASSERT_EQ(group.last[i], last);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ColumnGroupClassify,
    ::testing::Values(GroupCase{"OneColumn", 1, 5, false, false, 0},
                      GroupCase{"OneWordLessOne", 63, 9, false, false, 0},
                      GroupCase{"OneWord", 64, 9, true, false, 0},
                      GroupCase{"OneWordAndOne", 65, 9, false, true, 0},
                      GroupCase{"RowEndsInsideWord", 200, 17, true, true, 0},
                      GroupCase{"SeveralWords", 521, 12, false, false, 0},
                      GroupCase{"SingleRow", 130, 1, false, false, 0},
                      GroupCase{"BottomRowsOnly", 300, 10, false, false, 4 * 40 + 7},
                      GroupCase{"TopRowsOnly", 300, 10, true, true, 4 * 40 + 7},
                      GroupCase{"LastWordPartlyDelivered", 128, 6, true, false, 5}),
    [](const ::testing::TestParamInfo<GroupCase>& row) { return std::string(row.param.name); });

TEST(InkMap, InkBytesOutsideTheRowArePaper) {
  // Two rows of 32 ink pixels: 4 bytes each, no padding, black at index 0 so
  // that paper reads as 0 bits whatever the file holds.
  const std::vector<std::string> rows(2, std::string(32, '#'));
  const LoadedPicture loaded = load_bytes(make_one_bit_bmp(rows));
  ASSERT_EQ(loaded.result, ResultCode::kOk);
  const InkMap picture = ink_map_of(loaded);
  EXPECT_EQ(picture.ink_bytes_from(0, -8), 0u);
  EXPECT_EQ(picture.ink_bytes_from(0, -2), 0x0000'FFFF'FFFF'0000u);
  // The bytes after the row's end are the other row's in memory, but paper here.
  EXPECT_EQ(picture.ink_bytes_from(0, 0), 0xFFFF'FFFF'0000'0000u);
  EXPECT_EQ(picture.ink_bytes_from(1, 0), 0xFFFF'FFFF'0000'0000u);
  EXPECT_EQ(picture.ink_bytes_from(1, 3), 0xFF00'0000'0000'0000u);
  EXPECT_EQ(picture.ink_bytes_from(1, 4), 0u);
  EXPECT_EQ(picture.column_word_mask(0), 0xFFFF'FFFF'0000'0000u);
  EXPECT_EQ(picture.column_word_mask(1), 0u);
}

TEST(InkMap, FindsTheOnlyInkPixelAnywhere) {
  // One ink pixel, tried in corners and next to word boundaries, with the
  // padding bits of the rows set to ink's value: they must not count.
  constexpr std::uint32_t kWidth = 131;
  constexpr std::uint32_t kHeight = 5;
  const std::pair<std::uint32_t, std::uint32_t> places[] = {
      {0, 0}, {kWidth - 1, kHeight - 1}, {63, 2}, {64, 3}, {127, 4}, {128, 1}};
  for (const auto& [x, y] : places) {
    std::vector<std::string> rows(kHeight, std::string(kWidth, '.'));
    rows[y][x] = '#';
    BmpOptions bmp;
    bmp.ink_is_index_one = true;
    std::vector<std::uint8_t> file = make_one_bit_bmp(rows, bmp);
    const LoadedPicture loaded = load_bytes(file);
    ASSERT_EQ(loaded.result, ResultCode::kOk);
    EXPECT_TRUE(ink_map_of(loaded).has_ink()) << x << "," << y;
  }
  // Paper only, but every padding bit set: index 1 is ink, so they read as ink.
  const std::vector<std::string> blank(kHeight, std::string(kWidth, '.'));
  BmpOptions bmp;
  bmp.ink_is_index_one = true;
  std::vector<std::uint8_t> file = make_one_bit_bmp(blank, bmp);
  const std::uint32_t offset = get_u32(file, kOffBfOffBits);
  const std::uint32_t stride = (kWidth + 31) / 32 * 4;
  for (std::uint32_t row = 0; row < kHeight; ++row) {
    const std::size_t last_byte = offset + row * stride + kWidth / 8;
    file[last_byte] = static_cast<std::uint8_t>(file[last_byte] | (0xFFu >> (kWidth % 8)));
    for (std::size_t pad = last_byte + 1; pad < offset + (row + 1) * stride; ++pad)
      file[pad] = 0xFF;
  }
  const LoadedPicture loaded = load_bytes(file);
  ASSERT_EQ(loaded.result, ResultCode::kOk);
  EXPECT_FALSE(ink_map_of(loaded).has_ink());
}

class InkMapHoldsRows : public ::testing::TestWithParam<bool> {};

TEST_P(InkMapHoldsRows, UndeliveredBytesArePaperInsideTheHeldRows) {
  // Two rows of 4 bytes; the file lacks the last 3 pixel bytes, so the row
  // stored second (row 1 top-down, row 0 bottom-up) has its first byte only.
  const bool top_down = GetParam();
  BmpOptions bmp;
  bmp.top_down = top_down;
  std::vector<std::uint8_t> file =
      make_one_bit_bmp({std::string(32, '#'), std::string(32, '#')}, bmp);
  file.resize(file.size() - 3);
  const LoadedPicture loaded = load_bytes(file);
  ASSERT_EQ(loaded.result, ResultCode::kOk);
  const InkMap picture = ink_map_of(loaded);
  const std::uint32_t stored_first = top_down ? 0 : 1;
  const std::uint32_t stored_second = top_down ? 1 : 0;
  EXPECT_EQ(picture.ink_bytes_from(stored_first, 0), 0xFFFF'FFFF'0000'0000u);
  EXPECT_EQ(picture.ink_bytes_from(stored_second, 0), 0xFF00'0000'0000'0000u);
  const RowRange both{0, 2};
  EXPECT_TRUE(picture.holds_bytes(both, 0, 4));
  EXPECT_FALSE(picture.holds_bytes(both, -1, 2));           // starts left of the row
  EXPECT_FALSE(picture.holds_bytes(both, 1, 4));            // runs past the row's end
  EXPECT_FALSE(picture.holds_bytes(RowRange{1, 1}, 0, 1));  // no rows
  EXPECT_FALSE(picture.holds_bytes(RowRange{1, 3}, 0, 1));  // past the last row
}

TEST(InkMap, HoldsOnlyTheRowsAndColumnsTheFileDelivers) {
  // A header that declares 20,000 rows of 4,000 pixels over a file holding a
  // row and a half: the map keeps those rows, not the declared picture.
  BmpOptions bmp;
  bmp.top_down = true;
  std::vector<std::uint8_t> file =
      make_one_bit_bmp({std::string(4000, '.'), "." + std::string(3999, '#')}, bmp);
  const std::uint32_t stride = 4000 / 32 * 4 + 4;
  file.resize(file.size() - stride / 2);
  put_u32(file, kOffBiHeight, static_cast<std::uint32_t>(-20000));
  put_u32(file, kOffBiSizeImage, 20000 * stride);
  const LoadedPicture loaded = load_bytes(file);
  ASSERT_EQ(loaded.result, ResultCode::kOk);
  const InkMap picture = ink_map_of(loaded);
  EXPECT_EQ(picture.width_px, 4000u);
  EXPECT_EQ(picture.height_px, 20000u);
  EXPECT_EQ(picture.held_rows.begin, 0u);
  EXPECT_EQ(picture.held_rows.end, 2u);
  EXPECT_LE(picture.pixels.delivered_bytes, 2 * stride);
  EXPECT_TRUE(picture.is_ink(1, 1));
  EXPECT_FALSE(picture.is_ink(1, 2));
  EXPECT_FALSE(picture.is_ink(3999, 1));  // past the delivered half row
}

INSTANTIATE_TEST_SUITE_P(RowOrders, InkMapHoldsRows, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& row) {
                           return std::string(row.param ? "TopDown" : "BottomUp");
                         });

}  // namespace
}  // namespace vellicor::test

namespace vellicor::test {
namespace {

// The map made in the loaded bytes is the map made beside them, for either
// row order and every ink palette, padding bits set or not.
TEST(InkMap, MadeInPlaceEqualsMadeBeside) {
  const std::vector<std::string> rows = {"..........#", ".##...#...#", "#.#..##..##",
                                         "..........."};
  for (const bool top_down : {false, true}) {
    for (const bool ink_is_index_one : {false, true}) {
      BmpOptions bmp;
      bmp.top_down = top_down;
      bmp.ink_is_index_one = ink_is_index_one;
      std::vector<std::uint8_t> file = make_one_bit_bmp(rows, bmp);
      const std::uint32_t offset = get_u32(file, kOffBfOffBits);
      for (std::size_t pad = offset; pad < file.size(); pad += 4) file[pad + 3] ^= 0xFF;
      LoadedPicture loaded = load_bytes(file);
      ASSERT_EQ(loaded.result, ResultCode::kOk);
      for (const std::vector<std::uint8_t>& ink :
           {std::vector<std::uint8_t>{0}, std::vector<std::uint8_t>{1},
            std::vector<std::uint8_t>{0, 1}}) {
        InkMap beside;
        ASSERT_EQ(one_bit_bmp_ink_map(loaded.info_header, loaded.pixels, ink.data(),
                                      static_cast<std::uint16_t>(ink.size()), beside, nullptr),
                  ResultCode::kOk);
        PixelBuffer copy;
        copy.delivered_bytes = loaded.pixels.delivered_bytes;
        copy.bytes.reset(new std::uint8_t[copy.delivered_bytes]);
        std::copy_n(loaded.pixels.bytes.get(), copy.delivered_bytes, copy.bytes.get());
        InkMap in_place;
        ASSERT_EQ(one_bit_bmp_ink_map(loaded.info_header, std::move(copy), ink.data(),
                                      static_cast<std::uint16_t>(ink.size()), in_place, nullptr),
                  ResultCode::kOk);
        EXPECT_EQ(copy.bytes, nullptr);  // the bytes became the map
        ASSERT_EQ(in_place.stride_bytes, beside.stride_bytes);
        ASSERT_EQ(in_place.pixels.delivered_bytes, beside.pixels.delivered_bytes);
        EXPECT_TRUE(std::equal(beside.pixels.bytes.get(),
                               beside.pixels.bytes.get() + beside.pixels.delivered_bytes,
                               in_place.pixels.bytes.get()))
            << (top_down ? "top-down" : "bottom-up") << ", ink indices " << ink.size();
        EXPECT_EQ(in_place.held_columns, 11u);
        EXPECT_EQ(in_place.held_rows.end, 4u);
      }
    }
  }
}

}  // namespace
}  // namespace vellicor::test
