// Cutting columns into glyphs: the segmentation rules and the figures of the cut.
#include "engine/layout/glyph_cutter.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "tests/engine/memory_picture.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor::test {
namespace {

// Each glyph as "start+width@top-bottom".
std::string boxes_text(const GlyphBoxes& boxes) {
  std::string text;
  std::uint32_t count = 0;
  for (const GlyphBox& glyph : boxes.boxes) {
    text += (text.empty() ? "" : " ") + std::to_string(glyph.start) + "+" +
            std::to_string(glyph.width) + "@" + std::to_string(glyph.top) + "-" +
            std::to_string(glyph.bottom);
    if (glyph.number != ++count) text += " (misnumbered)";
  }
  return text;
}

GlyphBoxes cut(const MemoryPicture& picture, std::uint8_t allowed) {
  GlyphBoxes boxes;
  EXPECT_EQ(cut_strip(picture.ink_map(), allowed, Framing::kMarginStrip, boxes), ResultCode::kOk);
  return boxes;
}

struct CutCase {
  const char* label;
  std::vector<std::string> rows;
  std::uint8_t allowed;
  const char* spans;
  std::uint32_t tallest;
  std::uint32_t widest;
};

// Names the row in test listings.
void PrintTo(const CutCase& row, std::ostream* out) { print_label(out, {row.label}); }

class GlyphCutter : public ::testing::TestWithParam<CutCase> {};

TEST_P(GlyphCutter, CutsColumnsIntoGlyphs) {
  const CutCase& param = GetParam();
  for (const bool top_down : {false, true}) {
    SCOPED_TRACE(top_down ? "top-down" : "bottom-up");
    BmpOptions bmp;
    bmp.top_down = top_down;
    const MemoryPicture picture = memory_picture(param.rows, bmp);
    const GlyphBoxes boxes = cut(picture, param.allowed);
    EXPECT_EQ(boxes_text(boxes), param.spans);
    EXPECT_EQ(boxes.totals.glyph_count, boxes.boxes.size());
    EXPECT_EQ(boxes.totals.tallest, param.tallest);
    EXPECT_EQ(boxes.totals.widest, param.widest);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Segmentation, GlyphCutter,
    ::testing::Values(
        CutCase{"WorkedExample",
                {"................", ".#....#.#.......", ".#....#.#..##..#", ".###........#..#",
                 ".###.......##...", "................"},
                1,
                "1+3@1-4 6+3@1-2 11+2@2-4",
                4,
                3},
        CutCase{"NoColumns", {"", ""}, 0, "", 0, 0},
        CutCase{"InkOnlyInTopRow", {"#####", ".....", "....."}, 0, "", 0, 0},
        CutCase{"ColumnZeroAloneIsNoGlyph", {"....", "#...", "#..."}, 0, "", 2, 0},
        CutCase{"ColumnZeroNeverBelongsToGlyph", {"........", "####...."}, 0, "1+3@1-1", 1, 3},
        CutCase{"GlyphAtRightEdgeDropped", {"....", ".###"}, 0, "", 1, 0},
        CutCase{"GapThenSingleBlankEnds", {"........", ".#.#.#.."}, 1, "1+3@1-1 5+1@1-1", 1, 3},
        CutCase{"AllowedRunBeforeEdgeDrops", {"....", ".#.."}, 2, "", 1, 0},
        CutCase{"RunLongerThanAllowedEnds", {".....", ".#..."}, 2, "1+1@1-1", 1, 1},
        CutCase{"NoGapAllowedSplitsEveryBlank",
                {".....", ".#.#.", ".#.#."},
                0,
                "1+1@1-2 3+1@1-2",
                2,
                1},
        CutCase{"TallestOverAllColumns",
                {"......", ".#..#.", ".#..#.", ".#..#.", ".#..#.", ".#..#.", "....#."},
                0,
                "1+1@1-5 4+1@1-6",
                6,
                1},
        CutCase{
            "OneRowInkGivesTallestOne", {"......", ".#.#..", "......"}, 0, "1+1@1-1 3+1@1-1", 1, 1},
        CutCase{"TopRowInkInGapRaisesTop", {"..#...", ".#.#..", ".#.#.."}, 1, "1+3@0-2", 2, 3},
        CutCase{"TopRowInkAfterGlyphIgnored", {"...#..", ".##...", "......"}, 0, "1+2@1-1", 1, 2},
        CutCase{"InkColumnFromTopRow", {".#...", ".#...", "....."}, 0, "1+1@0-1", 2, 1},
        CutCase{"WideGlyphAcrossBytes",
                {std::string(40, '.'), "." + std::string(37, '#') + ".."},
                0,
                "1+37@1-1",
                1,
                37}),
    [](const ::testing::TestParamInfo<CutCase>& case_info) {
      return std::string(case_info.param.label);
    });

TEST(GlyphCutter, ReadsBottomUpRowsFromEndOfLargerBuffer) {
  BmpOptions bmp;
  bmp.extra_pixel_bytes = 12;
  const MemoryPicture picture = memory_picture({"....", ".#..", ".#..", "...."}, bmp);
  const GlyphBoxes boxes = cut(picture, 0);
  EXPECT_EQ(boxes_text(boxes), "1+1@1-2");
}

TEST(GlyphCutter, TakesInkFromPaletteIndexOne) {
  BmpOptions bmp;
  bmp.ink_is_index_one = true;
  const MemoryPicture picture = memory_picture({"....", ".#.#", ".#.."}, bmp);
  const GlyphBoxes boxes = cut(picture, 0);
  EXPECT_EQ(boxes_text(boxes), "1+1@1-2");
  EXPECT_EQ(boxes.totals.tallest, 2u);
}

TEST(GlyphCutter, UndeliveredBytesArePaper) {
  MemoryPicture picture = memory_picture({"....", ".#.#", ".#.#", ".#.#"}, BmpOptions{true});
  // Only the first two rows (top-down) reached the buffer.
  picture.pixels.delivered_bytes = 8;
  const GlyphBoxes boxes = cut(picture, 0);
  EXPECT_EQ(boxes_text(boxes), "1+1@1-1");
  EXPECT_EQ(boxes.totals.tallest, 1u);
}

}  // namespace
}  // namespace vellicor::test
