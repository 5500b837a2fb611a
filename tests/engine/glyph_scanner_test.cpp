// Cutting columns into glyphs: the segmentation rules and the measuring pass.
#include "engine/font/glyph_scanner.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "engine/layout/glyph_cutter.hpp"
#include "engine/picture/picture.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor::test {
namespace {

// A picture held in memory the way the loader delivers it.
struct MemoryPicture {
  BmpInfoHeader info;
  PixelBuffer pixels;
  InkIndexTable ink{};
  std::uint16_t ink_count = 1;

  PictureView view() const { return PictureView(info, pixels, ink.data(), ink_count); }
};

MemoryPicture memory_picture(const std::vector<std::string>& rows, const BmpOptions& bmp = {}) {
  const std::vector<std::uint8_t> file = make_one_bit_bmp(rows, bmp);
  MemoryPicture picture;
  picture.info.biSize = get_u32(file, kOffBiSize);
  picture.info.biWidth = static_cast<std::int32_t>(get_u32(file, kOffBiWidth));
  picture.info.biHeight = static_cast<std::int32_t>(get_u32(file, kOffBiHeight));
  picture.info.biBitCount = 1;
  picture.info.biSizeImage = get_u32(file, kOffBiSizeImage);
  const std::uint32_t offset = get_u32(file, kOffBfOffBits);
  const std::size_t bytes = file.size() - offset;
  picture.pixels.bytes.reset(new std::uint8_t[bytes]);
  std::memcpy(picture.pixels.bytes.get(), file.data() + offset, bytes);
  picture.pixels.delivered_bytes = static_cast<std::uint32_t>(bytes);
  picture.ink[0] = bmp.ink_is_index_one ? 1 : 0;
  return picture;
}

// Writes each glyph as "start+width@top-bottom".
class SpanRecorder final : public GlyphSink {
 public:
  ResultCode on_glyph(const GlyphSpan& glyph) override {
    spans += (spans.empty() ? "" : " ") + std::to_string(glyph.start) + "+" +
             std::to_string(glyph.width) + "@" + std::to_string(glyph.top) + "-" +
             std::to_string(glyph.bottom);
    if (glyph.number != ++count) spans += " (misnumbered)";
    return ResultCode::kOk;
  }
  std::string spans;
  std::uint32_t count = 0;
};

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
    SpanRecorder recorder;
    FontMeasure totals;
    ASSERT_EQ(cut_glyphs(picture.view(), param.allowed, recorder, totals), ResultCode::kOk);
    EXPECT_EQ(recorder.spans, param.spans);

    ConversionOptions options{};
    options.allowed_blank_columns = param.allowed;
    const GlyphScanContext context{&picture.pixels, &picture.info, &options, picture.ink.data(),
                                   picture.ink_count};
    FontMeasure measure{7, 7, 7, 7};
    ASSERT_EQ(measure_glyphs(context, measure), ResultCode::kOk);
    EXPECT_EQ(measure.glyph_count, recorder.count);
    EXPECT_EQ(measure.tallest, param.tallest);
    EXPECT_EQ(measure.widest, param.widest);
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

TEST(GlyphScanner, ReadsBottomUpRowsFromEndOfLargerBuffer) {
  BmpOptions bmp;
  bmp.extra_pixel_bytes = 12;
  const MemoryPicture picture = memory_picture({"....", ".#..", ".#..", "...."}, bmp);
  SpanRecorder recorder;
  FontMeasure totals;
  ASSERT_EQ(cut_glyphs(picture.view(), 0, recorder, totals), ResultCode::kOk);
  EXPECT_EQ(recorder.spans, "1+1@1-2");
}

TEST(GlyphScanner, TakesInkFromPaletteIndexOne) {
  BmpOptions bmp;
  bmp.ink_is_index_one = true;
  const MemoryPicture picture = memory_picture({"....", ".#.#", ".#.."}, bmp);
  SpanRecorder recorder;
  FontMeasure totals;
  ASSERT_EQ(cut_glyphs(picture.view(), 0, recorder, totals), ResultCode::kOk);
  EXPECT_EQ(recorder.spans, "1+1@1-2");
  EXPECT_EQ(totals.tallest, 2u);
}

TEST(GlyphScanner, UndeliveredBytesArePaper) {
  MemoryPicture picture = memory_picture({"....", ".#.#", ".#.#", ".#.#"}, BmpOptions{true});
  // Only the first two rows (top-down) reached the buffer.
  picture.pixels.delivered_bytes = 8;
  SpanRecorder recorder;
  FontMeasure totals;
  ASSERT_EQ(cut_glyphs(picture.view(), 0, recorder, totals), ResultCode::kOk);
  EXPECT_EQ(recorder.spans, "1+1@1-1");
  EXPECT_EQ(totals.tallest, 1u);
}

TEST(GlyphScanner, WritingPassRefusesAnEmptyMeasure) {
  const MemoryPicture picture = memory_picture({"....", ".#.."});
  ConversionOptions options{};
  const GlyphScanContext context{&picture.pixels, &picture.info, &options, picture.ink.data(), 1};
  OutputFile file(system_file_system());  // never created: nothing may be written
  for (const FontMeasure& measure :
       {FontMeasure{0, 1, 1, 1}, FontMeasure{1, 1, 0, 1}, FontMeasure{1, 0, 1, 1}}) {
    EXPECT_EQ(write_glyphs(context, measure, file), ResultCode::kBadArgument);
  }
}

}  // namespace
}  // namespace vellicor::test
