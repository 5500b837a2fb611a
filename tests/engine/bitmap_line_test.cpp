// Bitmap lines of glyphs of every width, behind leading blanks of every size,
// anywhere in the row (also against its ends), read back with FreeType and
// compared with the drawn ink.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "tests/engine/font_conversion.hpp"
#include "tests/support/bdf_check.hpp"

namespace vellicor::test {
namespace {

constexpr std::uint32_t kRows = 7;

struct LineCase {
  const char* name;
  std::uint8_t leading_blank;
  std::uint8_t trailing_blank;
  std::uint32_t widest_glyph;  // glyph widths are drawn from 1 to this
  bool top_down;
  bool ink_is_index_one;
};

// CTest lists each row under its name rather than its bytes.
void PrintTo(const LineCase& row, std::ostream* out) { *out << row.name; }

struct DrawnStrip {
  std::vector<std::string> rows;
  std::vector<std::uint32_t> starts;
  std::vector<std::uint32_t> widths;
};

// Glyphs of random widths and random ink, two blank columns apart, the first
// at column 1 and the last ending two columns before the right edge. Every
// glyph column has ink in the bottom row; the first glyph reaches row 1, so
// the tallest ink spans rows 1 to 6 and row r lands 6 - r above the baseline.
DrawnStrip draw_strip(const LineCase& shape, std::uint32_t seed) {
  std::mt19937 random(seed);
  constexpr std::uint32_t kGlyphs = 12;
  constexpr std::uint32_t kGap = 2;
  DrawnStrip strip;
  std::uint32_t column = 1;
  for (std::uint32_t glyph = 0; glyph < kGlyphs; ++glyph) {
    strip.starts.push_back(column);
    strip.widths.push_back(1 + static_cast<std::uint32_t>(random() % shape.widest_glyph));
    column += strip.widths.back() + kGap;
  }
  strip.rows.assign(kRows, std::string(column, '.'));
  for (std::uint32_t glyph = 0; glyph < kGlyphs; ++glyph) {
    for (std::uint32_t x = strip.starts[glyph]; x < strip.starts[glyph] + strip.widths[glyph];
         ++x) {
      for (std::uint32_t y = 1; y + 1 < kRows; ++y) {
        if (random() % 2 == 0) strip.rows[y][x] = '#';
      }
      strip.rows[kRows - 1][x] = '#';
    }
  }
  strip.rows[1][1] = '#';
  return strip;
}

class BitmapLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(BitmapLines, RenderTheDrawnInkOfEveryGlyph) {
  const LineCase& shape = GetParam();
  const DrawnStrip strip = draw_strip(shape, shape.leading_blank * 977u + shape.widest_glyph);
  TempDir dir;
  ConversionOptions options = plain_options();
  options.allowed_blank_columns = 1;
  options.leading_blank = shape.leading_blank;
  options.trailing_blank = shape.trailing_blank;
  BmpOptions bmp;
  bmp.top_down = shape.top_down;
  bmp.ink_is_index_one = shape.ink_is_index_one;
  const ConversionRun run = convert_rows(dir, strip.rows, options, bmp);
  ASSERT_EQ(run.result, ResultCode::kOk);

  std::vector<ExpectedGlyph> expected;
  for (std::size_t glyph = 0; glyph < strip.starts.size(); ++glyph) {
    expected.push_back({static_cast<std::uint32_t>(options.first_glyph + glyph),
                        picture_ink(strip.rows, strip.starts[glyph], strip.widths[glyph],
                                    shape.leading_blank, kRows - 1)});
  }
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"), expected));
}

// 56 bits are read from a row at a time: leading blanks and glyph widths
// around that size, and a leading blank wider than the glyph's start column,
// which puts the line's first bits left of the picture.
INSTANTIATE_TEST_SUITE_P(
    Sizes, BitmapLines,
    ::testing::Values(LineCase{"Narrow", 0, 0, 6, false, false},
                      LineCase{"NarrowTopDownIndexOne", 3, 2, 6, true, true},
                      LineCase{"AroundOneChunk", 1, 0, 60, false, false},
                      LineCase{"LeadingFillsOneChunk", 56, 1, 20, false, true},
                      LineCase{"LeadingJustUnderOneChunk", 55, 0, 70, true, false},
                      LineCase{"LeadingJustOverOneChunk", 57, 9, 130, false, false},
                      LineCase{"WideLeadingWideGlyphs", 255, 255, 180, true, false},
                      LineCase{"UnevenLeading", 13, 4, 121, false, true}),
    [](const ::testing::TestParamInfo<LineCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace vellicor::test
