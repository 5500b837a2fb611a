// The TTF writer against the BDF of the same font: FreeType loads its
// bitmap strike to the BDF's glyphs and renders its outlines at the font's
// own size to the same ink, in every layout; fontconfig names it; a glyph
// whose outline TrueType cannot hold is refused.
#include "engine/font/ttf_writer.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/font/otb_writer.hpp"
#include "tests/engine/sfnt_check.hpp"
#include "tests/engine/writer_test_fonts.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

TEST(TtfWriter, StrikeAndOutlinesLoadAsTheBdfInEveryLayout) {
  for (const LayoutCase& layout : layout_cases()) {
    SCOPED_TRACE(layout.run.name);
    TempDir dir;
    ASSERT_TRUE(write_bdf_and(dir, layout.rows, layout.run, write_ttf_font, "ours.ttf"));
    EXPECT_TRUE(same_glyphs(dir.file("ours.ttf"), dir.file("out.bdf")));
    EXPECT_TRUE(same_glyphs_as_outlines(dir.file("ours.ttf"), dir.file("out.bdf")));
    SfntTables tables;
    ASSERT_TRUE(read_sfnt_tables(dir.file("ours.ttf"), tables));
    const std::uint16_t glyphs = be16(tables["maxp"], 4);
    EXPECT_EQ(be32(tables["maxp"], 0), 0x00010000u);
    EXPECT_EQ(be16(tables["head"], 50), 1u);  // long loca offsets
    const std::vector<std::uint8_t>& loca = tables["loca"];
    ASSERT_EQ(loca.size(), 4u * (glyphs + 1u));
    EXPECT_EQ(be32(loca, 0), be32(loca, 4)) << ".notdef has an outline";
    EXPECT_EQ(be32(loca, loca.size() - 4), tables["glyf"].size());
    // Every glyph's point and contour counts stay within maxp's.
    std::uint16_t most_contours = 0;
    for (std::size_t glyph = 0; glyph < glyphs; ++glyph) {
      if (be32(loca, 4 * glyph) == be32(loca, 4 * glyph + 4)) continue;
      const std::uint16_t contours = be16(tables["glyf"], be32(loca, 4 * glyph));
      most_contours = std::max(most_contours, contours);
    }
    EXPECT_GT(most_contours, 0u);
    EXPECT_EQ(be16(tables["maxp"], 8), most_contours);
  }
}

TEST(TtfWriter, TheSampleIsOneFamilyWithItsBdf) {
  TempDir dir;
  ASSERT_TRUE(write_bdf_and(dir, sample_strip_picture(), sample_strip_case(), write_ttf_font,
                            "sample.ttf"));
  EXPECT_TRUE(same_glyphs_as_outlines(dir.file("sample.ttf"), dir.file("out.bdf")));
  const std::string scanned = fc_scan(dir.file("sample.ttf"));
  if (scanned.empty()) GTEST_SKIP() << "fc-scan is not installed";
  EXPECT_EQ(scanned, "Vellicor Sample|Regular|20-7e");
}

TEST(TtfWriter, RefusesAnOutlineTooComplexWritingNothing) {
  // A checkerboard of 200 x 200 pixels: 20,000 squares that touch only at
  // their corners, each an outline of four points, 80,000 in all, more than
  // a glyf record holds. Its bitmap fits the strike.
  std::vector<std::string> rows;
  for (int row = 0; row < 200; ++row) {
    std::string line;
    for (int column = 0; column < 200; ++column) line += (row + column) % 2 == 0 ? '#' : '.';
    rows.push_back(line);
  }
  TempDir dir;
  write_file(dir.file("in.bmp"), make_one_bit_bmp(rows));
  PipelineRequest request;
  request.framing = Framing::kByInk;
  ConversionOptions options{};
  options.descent = 100;
  PreparedFont font;
  ConversionReport report{};
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(prepare_font(system_file_system(), dir.file("in.bmp").c_str(), options, request, font,
                         report, &detail),
            ResultCode::kOk);
  {
    OutputFile file(system_file_system());
    ASSERT_EQ(file.create(dir.file("board.ttf").c_str(), &detail), ResultCode::kOk);
    EXPECT_EQ(write_ttf_font(file, font.model, font.map, &detail), ResultCode::kUnusableInput);
    EXPECT_EQ(detail, ErrorDetail::kOutlineTooComplex);
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
  OutputFile otb(system_file_system());
  ASSERT_EQ(otb.create(dir.file("board.otb").c_str(), &detail), ResultCode::kOk);
  EXPECT_EQ(write_otb_font(otb, font.model, font.map, &detail), ResultCode::kOk)
      << "the bitmap alone fits";
}

}  // namespace
}  // namespace vellicor::test
