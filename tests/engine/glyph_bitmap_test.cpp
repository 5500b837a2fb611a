// The bitmaps other formats are written from are exactly the BDF records:
// box, offsets, advance and every bit, for the margin strip, a strip framed
// by its ink, bands, grids, marks and blank characters.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "engine/api/font_pipeline.hpp"
#include "engine/font/bdf_writer.hpp"
#include "engine/font/glyph_record.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

// One record of a BDF file as its text states it.
struct Record {
  std::int64_t advance = 0, width = 0, height = 0, x = 0, y = 0;
  std::vector<std::uint8_t> lines;  // the hex lines' bytes, one line after another
};

std::vector<Record> records_of(const std::string& font) {
  std::vector<Record> records;
  std::istringstream text(font);
  std::string word;
  while (text >> word) {
    if (word == "STARTCHAR") records.emplace_back();
    if (records.empty()) continue;
    Record& record = records.back();
    if (word == "DWIDTH") text >> record.advance;
    if (word == "BBX") text >> record.width >> record.height >> record.x >> record.y;
    if (word == "BITMAP") {
      for (std::int64_t line = 0; line < record.height; ++line) {
        std::string hex;
        text >> hex;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
          record.lines.push_back(
              static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        }
      }
    }
  }
  return records;
}

struct Case {
  const char* name;
  PipelineRequest request;
  ConversionOptions options;
};

void expect_bitmaps_match_records(const std::vector<std::string>& rows, const Case& run) {
  SCOPED_TRACE(run.name);
  TempDir dir;
  write_file(dir.file("in.bmp"), make_one_bit_bmp(rows));
  PreparedFont font;
  ConversionReport report{};
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(prepare_font(system_file_system(), dir.file("in.bmp").c_str(), run.options, run.request,
                         font, report, &detail),
            ResultCode::kOk)
      << static_cast<int>(detail);
  ASSERT_EQ(write_font_file(system_file_system(), dir.file("out.bdf").c_str(), font, &detail),
            ResultCode::kOk);
  const std::vector<Record> records = records_of(read_text(dir.file("out.bdf")));
  ASSERT_GE(records.size(), 2u);
  std::size_t index = 0;
  font.model.for_each_glyph([&](const FontGlyph& glyph) {
    GlyphBitmap bitmap;
    if (glyph.is_blank) {
      blank_bitmap(font.model.frame_of_blank(glyph), glyph.advance, bitmap);
    } else {
      glyph_bitmap(font.map, run.options, font.model.frame_of(*glyph.box), *glyph.box, bitmap);
    }
    EXPECT_LT(index, records.size());
    if (index >= records.size()) return false;
    const Record& record = records[index++];
    EXPECT_EQ(static_cast<std::int64_t>(bitmap.advance), record.advance) << index;
    EXPECT_EQ(static_cast<std::int64_t>(bitmap.width), record.width) << index;
    EXPECT_EQ(static_cast<std::int64_t>(bitmap.height), record.height) << index;
    EXPECT_EQ(bitmap.x_offset, record.x) << index;
    EXPECT_EQ(bitmap.y_offset, record.y) << index;
    EXPECT_EQ(bitmap.lines, record.lines) << index;
    return true;
  });
  EXPECT_EQ(index, records.size());
}

TEST(GlyphBitmap, EveryLayoutsBitmapsAreItsBdfRecords) {
  // Ink in row 0 and at both edges, an inner gap, a descender, glyphs of
  // different heights; 24 columns so some bitmaps take more than one byte.
  const std::vector<std::string> strip = {
      "#..####.....##########..", "#...##..#...#........#..", "#...##..#...#..####..#..",
      "##.....###..##########.#", "........#..............#",
  };
  Case plain{"margin strip", PipelineRequest{}, ConversionOptions{}};
  plain.options.descent = 1;
  plain.options.allowed_blank_columns = 1;
  plain.options.leading_blank = 2;
  plain.options.trailing_blank = 1;
  plain.options.upper_blank = 1;
  expect_bitmaps_match_records(strip, plain);

  Case framed = plain;
  framed.name = "framed by ink, fixed width, with blanks";
  framed.request.framing = Framing::kByInk;
  framed.request.chars = "a b\u3000";
  framed.options.fixed_width = 1;
  expect_bitmaps_match_records(strip, framed);

  std::vector<std::string> bands = strip;
  bands.insert(bands.end(), strip.rbegin(), strip.rend());
  Case banded = framed;
  banded.name = "two bands";
  banded.request.chars = "a b\u3000\nc\u2009d\u2002";
  banded.request.layout.bands = 2;
  expect_bitmaps_match_records(bands, banded);

  Case grid{"grid", PipelineRequest{}, ConversionOptions{}};
  grid.request.framing = Framing::kByInk;
  grid.request.layout.kind = LayoutKind::kGrid;
  grid.request.layout.cell_width = 6;
  grid.request.layout.cell_height = 5;
  grid.options.descent = 1;
  expect_bitmaps_match_records(strip, grid);

  const std::vector<std::string> marked = {
      "###..##...###",
      "...#.....#...",
      "##.#.....####",
      "...........#.",
  };
  Case marks{"marks", PipelineRequest{}, ConversionOptions{}};
  marks.request.framing = Framing::kByInk;
  marks.request.layout.kind = LayoutKind::kMarks;
  marks.request.chars = "a b";
  marks.options.descent = 1;
  expect_bitmaps_match_records(marked, marks);
}

}  // namespace
}  // namespace vellicor::test
