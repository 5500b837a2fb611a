// Glyph records as written into the font: boxes, blank lines, bitmap lines.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/engine/font_conversion.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor::test {
namespace {

// The text between the header and "ENDFONT\n": every glyph record.
std::string records_of(const std::string& font) {
  const std::size_t start = font.find("STARTCHAR");
  const std::size_t end = font.rfind("ENDFONT\n");
  if (start == std::string::npos || end == std::string::npos || end < start) return "<no records>";
  return font.substr(start, end - start);
}

std::string record(const std::string& name, const std::string& code, const std::string& swidth,
                   const std::string& width, const std::string& box, const std::string& lines) {
  return "STARTCHAR char" + name + "\nENCODING " + code + "\nSWIDTH " + swidth + " 0\nDWIDTH " +
         width + " 0\nBBX " + box + "\nBITMAP\n" + lines + "ENDCHAR\n";
}

TEST(GlyphRecord, InkBelowBoxGrowsBoxDownward) {
  // Glyph A's ink (rows 2-3) starts one row lower than the box's top allows;
  // the tallest column, 5, reaches the right edge and is in no glyph.
  const std::vector<std::string> rows = {"......", ".....#", ".#.#.#", ".#....", "......"};
  TempDir dir;
  ConversionOptions options = plain_options();
  options.descent = 1;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);
  EXPECT_EQ(records_of(run.font), record("0041", "65", "960", "1", "1 3 0 -2", "00\n80\n80\n") +
                                      record("0042", "66", "960", "1", "1 2 0 -1", "00\n80\n"));
  EXPECT_NE(run.font.find("FONTBOUNDINGBOX 1 2 0 -1\n"), std::string::npos);
  // Row r of the picture lies at y = v - descent - r = 1 - r in every glyph.
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"), {{65, picture_ink(rows, 1, 1, 0, 1)},
                                                    {66, picture_ink(rows, 3, 1, 0, 1)}}));
  const ToolVerdict verdict = bdftopcf_verdict(dir.file("out.bdf"));
  if (verdict != ToolVerdict::kAbsent) {
    EXPECT_EQ(verdict, ToolVerdict::kAccepted);
  }
}

struct TopRowCase {
  std::uint8_t upper_blank;
  const char* box;
  const char* lines;
  int y_of_row0;  // where picture row 0 lands, descent 0
};

// Names the row in test listings.
void PrintTo(const TopRowCase& row, std::ostream* out) {
  print_label(out, {"upper", std::to_string(row.upper_blank)});
}

class GlyphRecordTopRow : public ::testing::TestWithParam<TopRowCase> {};

TEST_P(GlyphRecordTopRow, PlacesInkOfRowZero) {
  // Column 1 holds ink in rows 0 and 1, so its glyph's top is row 0.
  const std::vector<std::string> rows = {".#..", ".#..", "...."};
  TempDir dir;
  ConversionOptions options = plain_options();
  options.upper_blank = GetParam().upper_blank;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);
  EXPECT_EQ(records_of(run.font),
            record("0041", "65", "960", "1", GetParam().box, GetParam().lines));
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"),
                              {{65, picture_ink(rows, 1, 1, 0, GetParam().y_of_row0)}}));
}

INSTANTIATE_TEST_SUITE_P(UpperBlank, GlyphRecordTopRow,
                         ::testing::Values(TopRowCase{0, "1 2 0 -0", "80\n80\n", 1},
                                           TopRowCase{1, "1 3 0 -0", "80\n80\n00\n", 2},
                                           TopRowCase{2, "1 4 0 -0", "00\n80\n80\n00\n", 2}));

struct LineCase {
  std::uint8_t leading;
  std::uint8_t trailing;
  const char* box;
  const char* line;
};

// Names the row in test listings.
void PrintTo(const LineCase& row, std::ostream* out) {
  print_label(out,
              {"leading", std::to_string(row.leading), "trailing", std::to_string(row.trailing)});
}

class GlyphRecordBitmapLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(GlyphRecordBitmapLine, PacksLeadingBlankBitsAndPadsToHexWidth) {
  const std::vector<std::string> rows = {".....", ".#.#."};
  TempDir dir;
  ConversionOptions options = plain_options();
  options.allowed_blank_columns = 1;
  options.leading_blank = GetParam().leading;
  options.trailing_blank = GetParam().trailing;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);
  const std::string width =
      std::string(GetParam().box).substr(0, std::string(GetParam().box).find(' '));
  EXPECT_EQ(records_of(run.font), record("0041", "65", "960", width, GetParam().box,
                                         std::string(GetParam().line) + "\n"));
  EXPECT_TRUE(
      font_renders_as(dir.file("out.bdf"), {{65, picture_ink(rows, 1, 3, GetParam().leading, 1)}}));
}

INSTANTIATE_TEST_SUITE_P(Sides, GlyphRecordBitmapLine,
                         ::testing::Values(LineCase{8, 0, "11 1 0 -0", "00A0"},
                                           LineCase{1, 1, "5 1 0 -0", "50"},
                                           LineCase{0, 13, "16 1 0 -0", "A000"},
                                           LineCase{7, 0, "10 1 0 -0", "0140"}));

TEST(GlyphRecord, CodesPastSixteenBitsKeepCounting) {
  const std::vector<std::string> rows = {"......", ".#.#..", "......"};
  TempDir dir;
  ConversionOptions options = plain_options();
  options.first_glyph = 65535;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);
  EXPECT_EQ(records_of(run.font), record("ffff", "65535", "960", "1", "1 1 0 -0", "80\n") +
                                      record("10000", "65536", "960", "1", "1 1 0 -0", "80\n"));
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"), {{65535, picture_ink(rows, 1, 1, 0, 1)},
                                                    {65536, picture_ink(rows, 3, 1, 0, 1)}}));
}

TEST(GlyphRecord, FixedWidthGivesEveryGlyphTheFontWidth) {
  const std::vector<std::string> rows = {"........", ".#..###.", "....#..."};
  TempDir dir;
  ConversionOptions options = plain_options();
  options.fixed_width = 1;
  options.leading_blank = 1;
  options.descent = 2;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);
  // t = 3 + 1; the narrow glyph's box and advance are the full width too.
  EXPECT_EQ(records_of(run.font), record("0041", "65", "960", "4", "4 2 0 -2", "40\n00\n") +
                                      record("0042", "66", "960", "4", "4 2 0 -2", "70\n40\n"));
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"), {{65, picture_ink(rows, 1, 1, 1, 0)},
                                                    {66, picture_ink(rows, 4, 3, 1, 0)}}));
}

TEST(GlyphRecord, LowerBlankAndFillLinesComeAfterInk) {
  // The short glyph gets its lower blank line and one more to reach the height.
  const std::vector<std::string> rows = {"......", ".#.#..", ".#....", "......"};
  TempDir dir;
  ConversionOptions options = plain_options();
  options.lower_blank = 1;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);
  EXPECT_EQ(records_of(run.font), record("0041", "65", "960", "1", "1 3 0 -0", "80\n80\n00\n") +
                                      record("0042", "66", "960", "1", "1 3 0 -0", "80\n00\n00\n"));
}

TEST(GlyphRecord, GlyphWiderThanOneKilobyteLine) {
  // 5000 ink columns make a line of 1252 hex digits with the side blanks.
  const std::vector<std::string> rows = {std::string(5003, '.'),
                                         "." + std::string(5000, '#') + "..",
                                         "." + std::string(4999, '.') + "#.."};
  TempDir dir;
  ConversionOptions options = plain_options();
  options.leading_blank = 3;
  options.trailing_blank = 2;
  const ConversionRun run = convert_rows(dir, rows, options);
  ASSERT_EQ(run.result, ResultCode::kOk);
  const std::string full = "1F" + std::string(624 * 2, 'F') + "E0\n";
  const std::string last = std::string(625 * 2, '0') + "20\n";
  EXPECT_EQ(records_of(run.font), record("0041", "65", "960", "5005", "5005 2 0 -0", full + last));
  EXPECT_TRUE(font_renders_as(dir.file("out.bdf"), {{65, picture_ink(rows, 1, 5000, 3, 2)}}));
}

}  // namespace
}  // namespace vellicor::test
