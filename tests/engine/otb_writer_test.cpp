// The OTB writer against the BDF of the same font: FreeType loads both to
// the same glyphs in every layout; the file is laid out as the OpenType
// specification says; fontconfig names it and Pango draws text with it as
// FreeType does.
#include "engine/font/otb_writer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/font/character_list.hpp"
#include "tests/engine/sfnt_check.hpp"
#include "tests/engine/writer_test_fonts.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

TEST(OtbWriter, LoadsAsTheBdfInEveryLayout) {
  for (const LayoutCase& layout : layout_cases()) {
    SCOPED_TRACE(layout.run.name);
    TempDir dir;
    ASSERT_TRUE(write_bdf_and(dir, layout.rows, layout.run, write_otb_font, "ours.otb"));
    EXPECT_TRUE(same_glyphs(dir.file("ours.otb"), dir.file("out.bdf")));
    SfntTables tables;
    ASSERT_TRUE(read_sfnt_tables(dir.file("ours.otb"), tables));
    for (const char* tag :
         {"EBDT", "EBLC", "OS/2", "cmap", "head", "hhea", "hmtx", "maxp", "name", "post"}) {
      EXPECT_EQ(tables.count(tag), 1u) << tag;
    }
    EXPECT_EQ(tables.count("glyf"), 0u);
    EXPECT_EQ(be32(tables["maxp"], 0), 0x00005000u);
    // The strike is at the font's own size, and the units put every pixel
    // on a whole number of units, as many as 2048 to the em allow.
    const std::vector<std::uint8_t>& eblc = tables["EBLC"];
    const std::uint32_t pixel_size = eblc.at(8 + 44);
    EXPECT_EQ(eblc.at(8 + 45), pixel_size);
    const std::uint16_t units_per_em = be16(tables["head"], 18);
    EXPECT_EQ(units_per_em % pixel_size, 0u);
    EXPECT_LE(units_per_em, 2048u);
    EXPECT_GT(units_per_em + pixel_size, 2048u);
  }
}

TEST(OtbWriter, MapsCodesPastTheBasicPlaneAndAddsAnEmptyNotdef) {
  const LayoutCase listed = layout_cases()[1];
  TempDir dir;
  ASSERT_TRUE(write_bdf_and(dir, listed.rows, listed.run, write_otb_font, "ours.otb"));
  EXPECT_EQ(unicode_charmap(dir.file("ours.otb")),
            (std::vector<std::uint32_t>{0x20, 0x61, 0xE9, 0x2009, 0x3000, 0x1F600}));
  SfntTables tables;
  ASSERT_TRUE(read_sfnt_tables(dir.file("ours.otb"), tables));
  // Six glyphs and .notdef, an image of metrics alone at the strike's start.
  EXPECT_EQ(be16(tables["maxp"], 4), 7u);
  const std::vector<std::uint8_t>& eblc = tables["EBLC"];
  const std::size_t subtable = 8 + 48 + 8;
  EXPECT_EQ(be16(eblc, subtable), 1u);      // index format
  EXPECT_EQ(be16(eblc, subtable + 2), 7u);  // image format
  EXPECT_EQ(be32(eblc, subtable + 12) - be32(eblc, subtable + 8), 8u);
  EXPECT_EQ(tables["EBDT"].at(4), 0u);  // no rows
  EXPECT_EQ(tables["EBDT"].at(5), 0u);  // no columns
}

// The model reads its options as long as it lives.
const ConversionOptions kDotOptions{};

// A font of count one-pixel glyphs, from code 0 on or named by chars.
void prepare_dots(const TempDir& dir, std::size_t count, const char* chars, PreparedFont& font) {
  std::string row;
  for (std::size_t dot = 0; dot < count; ++dot) row += "#.";
  write_file(dir.file("in.bmp"), make_one_bit_bmp({row, std::string(row.size(), '.')}));
  PipelineRequest request;
  request.chars = chars;
  request.framing = Framing::kByInk;
  ConversionReport report{};
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(prepare_font(system_file_system(), dir.file("in.bmp").c_str(), kDotOptions, request,
                         font, report, &detail),
            ResultCode::kOk)
      << static_cast<int>(detail);
}

void write_otb(const std::string& path, const PreparedFont& font) {
  ErrorDetail detail = ErrorDetail::kNone;
  OutputFile file(system_file_system());
  ASSERT_EQ(file.create(path.c_str(), &detail), ResultCode::kOk);
  ASSERT_EQ(write_otb_font(file, font.model, font.map, &detail), ResultCode::kOk);
  ASSERT_EQ(file.commit(&detail), ResultCode::kOk);
}

// Glyph ids have 16 bits and .notdef takes one: of 65,536 glyphs the
// first 65,534 stay, codes 0 to 65,533.
TEST(OtbWriter, KeepsTheGlyphsGlyphIdsHold) {
  TempDir dir;
  PreparedFont font;
  prepare_dots(dir, 65536, nullptr, font);
  write_otb(dir.file("dots.otb"), font);
  SfntTables tables;
  ASSERT_TRUE(read_sfnt_tables(dir.file("dots.otb"), tables));
  EXPECT_EQ(be16(tables["maxp"], 4), 0xFFFFu);
  const std::vector<std::uint32_t> codes = unicode_charmap(dir.file("dots.otb"));
  ASSERT_EQ(codes.size(), 65534u);
  EXPECT_EQ(codes.front(), 0u);
  EXPECT_EQ(codes.back(), 65533u);
}

// Ten thousand codes two apart take more segments than a format 4
// subtable's 16-bit length holds: it keeps the lowest, and the format 12
// subtable, which FreeType prefers, maps them all.
TEST(OtbWriter, MapsCodesBeyondWhatFormat4Holds) {
  std::string chars;
  std::vector<std::uint32_t> listed;
  for (std::uint32_t code = 0x4E00; listed.size() < 10000; code += 2) {
    char text[5] = {};
    chars += std::string(text, encode_utf8(code, text));
    listed.push_back(code);
  }
  TempDir dir;
  PreparedFont font;
  prepare_dots(dir, listed.size(), chars.c_str(), font);
  write_otb(dir.file("dots.otb"), font);
  SfntTables tables;
  ASSERT_TRUE(read_sfnt_tables(dir.file("dots.otb"), tables));
  const std::vector<std::uint8_t>& cmap = tables["cmap"];
  ASSERT_EQ(be16(cmap, 2), 4u);  // (0,3), (0,4), (3,1), (3,10)
  const std::uint32_t format4 = be32(cmap, 4 + 4);
  EXPECT_EQ(be16(cmap, format4), 4u);
  EXPECT_LE(format4 + be16(cmap, format4 + 2), be32(cmap, 4 + 12));
  EXPECT_EQ(be16(cmap, be32(cmap, 4 + 12)), 12u);
  EXPECT_EQ(unicode_charmap(dir.file("dots.otb")), listed);
}

TEST(OtbWriter, FontconfigReadsTheFamilyAndTheCharacters) {
  TempDir dir;
  ASSERT_TRUE(write_bdf_and(dir, sample_strip_picture(), sample_strip_case(), write_otb_font,
                            "sample.otb"));
  const std::string scanned = fc_scan(dir.file("sample.otb"));
  if (scanned.empty()) GTEST_SKIP() << "fc-scan is not installed";
  EXPECT_EQ(scanned, "Vellicor Sample|Regular|20-7e");
}

TEST(OtbWriter, PangoDrawsTheSampleAsFreeTypeDoes) {
  if (!have_program("pango-view")) GTEST_SKIP() << "pango-view is not installed";
  TempDir dir;
  std::filesystem::create_directory(dir.file("fonts"));
  ASSERT_TRUE(write_bdf_and(dir, sample_strip_picture(), sample_strip_case(), write_otb_font,
                            "fonts/sample.otb"));
  const std::string text = "Sphinx of black quartz, judge my vow! (0-9) #42 ~{x}";
  const std::uint32_t pixel_size = strike_size(dir.file("fonts/sample.otb"));
  std::string command;
  ASSERT_TRUE(pango_draw(dir.path().string(), dir.file("fonts"), "Vellicor Sample", pixel_size,
                         text, dir.file("line.png"), command))
      << command;
  const InkSet drawn = cropped(png_ink(dir.file("line.png")));
  const InkSet expected = cropped(freetype_line(dir.file("fonts/sample.otb"), pixel_size, text));
  EXPECT_GT(expected.size(), 100u);
  EXPECT_EQ(drawn, expected) << command;
}

TEST(OtbWriter, RefusesAGlyphPastOneByteMetricsWritingNothing) {
  TempDir dir;
  const std::string row = "." + std::string(300, '#') + ".";
  WriterCase wide{"a glyph 300 pixels wide", PipelineRequest{}, ConversionOptions{}};
  wide.request.framing = Framing::kByInk;
  write_file(dir.file("in.bmp"), make_one_bit_bmp({row, std::string(row.size(), '.')}));
  PreparedFont font;
  ConversionReport report{};
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(prepare_font(system_file_system(), dir.file("in.bmp").c_str(), wide.options,
                         wide.request, font, report, &detail),
            ResultCode::kOk);
  {
    OutputFile file(system_file_system());
    ASSERT_EQ(file.create(dir.file("wide.otb").c_str(), &detail), ResultCode::kOk);
    EXPECT_EQ(write_otb_font(file, font.model, font.map, &detail), ResultCode::kBadArgument);
    EXPECT_EQ(detail, ErrorDetail::kGlyphTooLarge);
  }
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
}

}  // namespace
}  // namespace vellicor::test
