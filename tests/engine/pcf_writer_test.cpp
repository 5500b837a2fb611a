// The PCF writer against the X font compiler: for strips, grids, marks and
// lists, FreeType loads our PCF and bdftopcf's PCF of our BDF to the same
// glyphs, and the properties come through.
#include "engine/font/pcf_writer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/api/font_pipeline.hpp"
#include "engine/io/output_file.hpp"
#include "tests/engine/writer_test_fonts.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

using Case = WriterCase;

// Our PCF loads as the BDF, and as the X font compiler's PCF of it (whose
// glyphs of a character-cell font are padded to the cell: ink compared).
void expect_same_as_bdftopcf(const std::vector<std::string>& rows, const Case& run,
                             GlyphMatch match = GlyphMatch::kExact) {
  SCOPED_TRACE(run.name);
  TempDir dir;
  ASSERT_TRUE(write_bdf_and(dir, rows, run, write_pcf_font, "ours.pcf"));
  EXPECT_TRUE(same_glyphs(dir.file("ours.pcf"), dir.file("out.bdf")));
  const ToolVerdict verdict = bdftopcf_verdict(dir.file("out.bdf"), dir.file("theirs.pcf"));
  if (verdict == ToolVerdict::kAbsent) GTEST_SKIP() << "bdftopcf is not installed";
  ASSERT_EQ(verdict, ToolVerdict::kAccepted);
  EXPECT_TRUE(same_glyphs(dir.file("ours.pcf"), dir.file("theirs.pcf"), match));
  // The properties of the BDF header, as FreeType's PCF driver reads them.
  const char* const name =
      run.options.font_name != nullptr ? run.options.font_name : "No-Name-Font";
  EXPECT_EQ(bdf_property(dir.file("ours.pcf"), "FONT"), name);
  for (const char* property : {"FONT_ASCENT", "FONT_DESCENT", "FAMILY_NAME", "CHARSET_REGISTRY",
                               "SPACING", "PIXEL_SIZE", "DEFAULT_CHAR"}) {
    EXPECT_EQ(bdf_property(dir.file("ours.pcf"), property),
              bdf_property(dir.file("out.bdf"), property))
        << property;
  }
}

// Ink in row 0 and at both edges, a descender, glyphs of different heights,
// and glyphs wider than 8 and 32 pixels, so lines take padding and more than
// one padded unit.
const std::vector<std::string> kStrip = {
    "#..####.....##########....####################################..",
    "#...##..#...#........#....#..................................#..",
    "#...##..#...#..####..#....#...##########################.....#..",
    "##.....###..##########.#..####################################.#",
    "........#..............#.......................................#",
};

TEST(PcfWriter, LoadsAsTheXFontCompilersPcfOfTheBdf) {
  Case plain{"margin strip", PipelineRequest{}, ConversionOptions{}};
  plain.options.descent = 1;
  plain.options.allowed_blank_columns = 1;
  plain.options.leading_blank = 2;
  plain.options.trailing_blank = 1;
  plain.options.upper_blank = 1;
  plain.options.font_name = "Strip-Test";
  expect_same_as_bdftopcf(kStrip, plain);

  Case listed = plain;
  listed.name = "framed by ink, a list with blanks and codes past U+00FF";
  listed.request.framing = Framing::kByInk;
  listed.request.chars = "a \u00e9\u3000\u0416\u2009";
  expect_same_as_bdftopcf(kStrip, listed);

  // PCF codes have 16 bits: a code beyond the basic plane keeps its glyph
  // without an encoding, as in the X font compiler's PCF.
  Case beyond = listed;
  beyond.name = "a code beyond the basic plane";
  beyond.request.chars = "a \u00e9\u3000\U0001F600\u2009";
  {
    SCOPED_TRACE(beyond.name);
    TempDir dir;
    ASSERT_TRUE(write_bdf_and(dir, kStrip, beyond, write_pcf_font, "ours.pcf"));
    EXPECT_EQ(unicode_charmap(dir.file("ours.pcf")),
              (std::vector<std::uint32_t>{0x20, 0x61, 0xE9, 0x2009, 0x3000}));
    const ToolVerdict verdict = bdftopcf_verdict(dir.file("out.bdf"), dir.file("theirs.pcf"));
    EXPECT_NE(verdict, ToolVerdict::kRejected);
    if (verdict == ToolVerdict::kAccepted) {
      EXPECT_TRUE(same_glyphs(dir.file("ours.pcf"), dir.file("theirs.pcf")));
    }
  }

  // A glyph wider than the 127 pixels of one-byte metrics.
  Case wide = plain;
  wide.name = "metrics of two bytes";
  const std::string wide_row = std::string(130, '#') + "..#";
  expect_same_as_bdftopcf({wide_row, "#" + std::string(131, '.') + "#", wide_row}, wide);

  Case grid{"grid", PipelineRequest{}, ConversionOptions{}};
  grid.request.framing = Framing::kByInk;
  grid.request.layout.kind = LayoutKind::kGrid;
  grid.request.layout.cell_width = 8;
  grid.request.layout.cell_height = 5;
  grid.options.descent = 1;
  expect_same_as_bdftopcf(kStrip, grid, GlyphMatch::kInk);

  // The third mark's ink reaches left of its mark: a negative x offset.
  const std::vector<std::string> marked = {
      "###..##...###",
      "...#.....#...",
      "##.#.....####",
      "...........#.",
  };
  Case marks{"marks", PipelineRequest{}, ConversionOptions{}};
  marks.request.framing = Framing::kByInk;
  marks.request.layout.kind = LayoutKind::kMarks;
  marks.request.chars = "\u0100 b";
  marks.options.descent = 1;
  expect_same_as_bdftopcf(marked, marks);
  TempDir dir;
  ASSERT_TRUE(write_bdf_and(dir, marked, marks, write_pcf_font, "ours.pcf"));
  const std::vector<std::string> boxes = lines_with(read_text(dir.file("out.bdf")), "BBX");
  EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](const std::string& line) {
    return line.find(" -") != std::string::npos && line.find(" -") < line.rfind(' ');
  })) << "no glyph of the marks has a negative x offset";
}

TEST(PcfWriter, RefusesAGlyphBeyondSixteenBitMetrics) {
  TempDir dir;
  // One glyph 40,000 pixels wide: its right side bearing needs 17 bits.
  const std::string row = "." + std::string(40000, '#') + ".";
  write_file(dir.file("in.bmp"), make_one_bit_bmp({row, std::string(row.size(), '.')}));
  PreparedFont font;
  ConversionReport report{};
  ErrorDetail detail = ErrorDetail::kNone;
  PipelineRequest request;
  request.framing = Framing::kByInk;
  const ConversionOptions options{};
  ASSERT_EQ(prepare_font(system_file_system(), dir.file("in.bmp").c_str(), options, request, font,
                         report, &detail),
            ResultCode::kOk);
  OutputFile file(system_file_system());
  ASSERT_EQ(file.create(dir.file("wide.pcf").c_str(), &detail), ResultCode::kOk);
  EXPECT_EQ(write_pcf_font(file, font.model, font.map, &detail), ResultCode::kBadArgument);
  EXPECT_EQ(detail, ErrorDetail::kGlyphTooLarge);
}

}  // namespace
}  // namespace vellicor::test
