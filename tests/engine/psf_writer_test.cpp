// PSF2 fonts as the console's tools read them: kbd's psfxtable reads the
// Unicode table back, and every glyph's cell holds its BDF record's bits at
// the record's offsets in the font's bounding box.
#include "engine/font/psf_writer.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/api/font_pipeline.hpp"
#include "engine/io/output_file.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/host_tools.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

using Rows = std::vector<std::string>;
using Table = std::vector<std::vector<std::uint32_t>>;  // code points of each glyph

struct Case {
  const char* name;
  PipelineRequest request;
  ConversionOptions options;
};

// Converts rows to out.bdf and out.psf in dir; the PSF writer's result.
ResultCode convert(TempDir& dir, const Rows& rows, const Case& run, ErrorDetail& detail) {
  write_file(dir.file("in.bmp"), make_one_bit_bmp(rows));
  PreparedFont font;
  ConversionReport report{};
  ResultCode result = prepare_font(system_file_system(), dir.file("in.bmp").c_str(), run.options,
                                   run.request, font, report, &detail);
  if (succeeded(result)) {
    result = write_font_file(system_file_system(), dir.file("out.bdf").c_str(), font, &detail);
  }
  OutputFile output(system_file_system());
  if (succeeded(result)) result = output.create(dir.file("out.psf").c_str(), &detail);
  EXPECT_EQ(result, ResultCode::kOk) << static_cast<int>(detail);
  if (failed(result)) return result;
  result = write_psf_font(output, font.model, font.map, &detail);
  if (failed(result)) return result;
  return output.commit(&detail);
}

std::uint32_t u32_at(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

// The cells the BDF's records make: each record's bits at its offsets in
// FONTBOUNDINGBOX, rows padded to whole bytes.
std::vector<std::string> expected_cells(const std::string& bdf, std::uint32_t& width,
                                        std::uint32_t& height) {
  std::istringstream text(bdf);
  std::string word;
  std::int64_t box_x = 0, box_y = 0, w = 0, h = 0, x = 0, y = 0;
  std::vector<std::string> cells;
  while (text >> word) {
    if (word == "FONTBOUNDINGBOX") text >> width >> height >> box_x >> box_y;
    if (word == "BBX") text >> w >> h >> x >> y;
    if (word != "BITMAP") continue;
    const std::size_t stride = (width + 7) / 8;
    std::string cell(stride * height, '\0');
    const std::int64_t top_row = box_y + height - (y + h);
    for (std::int64_t line = 0; line < h; ++line) {
      std::string hex;
      text >> hex;
      for (std::int64_t column = 0; column < w; ++column) {
        const int nibble = std::stoi(hex.substr(column / 4, 1), nullptr, 16);
        if ((nibble >> (3 - column % 4) & 1) == 0) continue;
        const std::int64_t cx = column + x - box_x, cy = top_row + line;
        EXPECT_TRUE(cx >= 0 && cx < width && cy >= 0 && cy < height) << cx << "," << cy;
        cell[cy * stride + cx / 8] |= static_cast<char>(0x80 >> (cx % 8));
      }
    }
    cells.push_back(cell);
  }
  return cells;
}

// The Unicode table as psfxtable writes it out: one line per glyph.
Table table_of(TempDir& dir) {
  const std::string command = "psfxtable -i '" + dir.file("out.psf") + "' -ot '" +
                              dir.file("table.txt") + "' 2>'" + dir.file("psfxtable.err") + "'";
  EXPECT_TRUE(shell_succeeds(command)) << read_text(dir.file("psfxtable.err"));
  Table table;
  std::istringstream lines(read_text(dir.file("table.txt")));
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string word;
    words >> word;  // the glyph's position
    table.emplace_back();
    while (words >> word)
      table.back().push_back(static_cast<std::uint32_t>(std::stoul(word.substr(2), nullptr, 16)));
  }
  return table;
}

// positions: the BDF record each position of the PSF2 font shows, -1 for a
// blank filler; empty: the records in order.
void expect_psf_matches_bdf(const Rows& rows, const Case& run, Table table,
                            const std::vector<int>& positions = {}) {
  SCOPED_TRACE(run.name);
  TempDir dir;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(convert(dir, rows, run, detail), ResultCode::kOk) << static_cast<int>(detail);
  const std::string psf = read_text(dir.file("out.psf"));
  std::uint32_t width = 0, height = 0;
  const std::vector<std::string> cells =
      expected_cells(read_text(dir.file("out.bdf")), width, height);
  ASSERT_GE(psf.size(), 32u);
  EXPECT_EQ(psf.substr(0, 16), std::string("\x72\xb5\x4a\x86\0\0\0\0\x20\0\0\0\x01\0\0\0", 16));
  const std::uint32_t length = u32_at(psf, 16), charsize = u32_at(psf, 20);
  EXPECT_EQ(length, 256u);  // the framebuffer console's smallest count
  EXPECT_EQ(u32_at(psf, 24), height);
  EXPECT_EQ(u32_at(psf, 28), width);
  EXPECT_EQ(charsize, height * ((width + 7) / 8));
  ASSERT_GE(psf.size(), 32u + std::size_t{length} * charsize);
  for (std::size_t position = 0; position < length; ++position) {
    const int record = positions.empty()             ? static_cast<int>(position)
                       : position < positions.size() ? positions[position]
                                                     : -1;
    const bool blank = record < 0 || static_cast<std::size_t>(record) >= cells.size();
    EXPECT_EQ(psf.substr(32 + position * charsize, charsize),
              blank ? std::string(charsize, '\0') : cells[static_cast<std::size_t>(record)])
        << "position " << position;
  }
  table.resize(length);  // the filling glyphs map to nothing
  EXPECT_EQ(table_of(dir), table);
}

TEST(PsfWriter, CellsHoldTheBdfBitsAndTheTableHoldsTheCharacters) {
  const Rows strip = {
      "#..####.....##########..", "#...##..#...#........#..", "#...##..#...#..####..#..",
      "##.....###..##########.#", "........#..............#",
  };
  // Codes counted up from the first code; a surrogate code maps to nothing.
  Case plain{"margin strip", PipelineRequest{}, ConversionOptions{}};
  plain.options.first_glyph = 0xDFFF;
  plain.options.descent = 1;
  plain.options.allowed_blank_columns = 1;
  plain.options.leading_blank = 2;
  plain.options.trailing_blank = 1;
  plain.options.upper_blank = 1;
  expect_psf_matches_bdf(strip, plain, {{}, {0xE000}});

  // A blank character's box wider than every glyph widens the cell.
  Case listed = plain;
  listed.name = "margin strip with a list";
  listed.request.chars = "a b\u3000";
  listed.request.blank_advance = 30;
  expect_psf_matches_bdf(strip, listed, {{'a'}, {' '}, {'b'}, {0x3000}});

  // Two bands, each framed by its own ink.
  Rows bands = strip;
  bands.insert(bands.end(), strip.rbegin(), strip.rend());
  Case banded = plain;
  banded.name = "two bands";
  banded.request.framing = Framing::kByInk;
  banded.request.chars = "a b\u3000\nc\u2009d\u2002";
  banded.request.layout.bands = 2;
  expect_psf_matches_bdf(bands, banded,
                         {{'a'}, {' '}, {'b'}, {0x3000}, {'c'}, {0x2009}, {'d'}, {0x2002}});

  Case grid{"grid", PipelineRequest{}, ConversionOptions{}};
  grid.request.framing = Framing::kByInk;
  grid.request.layout.kind = LayoutKind::kGrid;
  grid.request.layout.cell_width = 6;
  grid.request.layout.cell_height = 5;
  grid.request.chars = "ABCD";
  grid.options.descent = 1;
  expect_psf_matches_bdf(strip, grid, {{'A'}, {'B'}, {'C'}, {'D'}});

  // 'b' stands one column left of its origin; the third character lies past
  // the Basic Multilingual Plane.
  const Rows marked = {"###..##...###", "...#.....#...", "##.#.....####", "...........#."};
  Case marks{"marks", PipelineRequest{}, ConversionOptions{}};
  marks.request.framing = Framing::kByInk;
  marks.request.layout.kind = LayoutKind::kMarks;
  marks.request.chars = "b \U0001F600";
  marks.options.descent = 1;
  expect_psf_matches_bdf(marked, marks, {{'b'}, {' '}, {0x1F600}});
}

TEST(PsfWriter, PositionThirtyTwoIsBlankForTheConsolesErasing) {
  // 40 glyphs of 1 to 5 columns, so that neighbours differ.
  std::string row;
  for (int glyph = 0; glyph < 40; ++glyph) row += std::string(glyph % 5 + 1, '#') + ".";
  Case codes{"the space trades places", PipelineRequest{}, ConversionOptions{}};
  codes.request.framing = Framing::kByInk;
  codes.options.first_glyph = 0x10;  // the space is glyph 16
  Table table;
  std::vector<int> positions;
  for (int glyph = 0; glyph < 40; ++glyph) {
    const int source = glyph == 16 ? 32 : glyph == 32 ? 16 : glyph;
    positions.push_back(source);
    table.push_back({static_cast<std::uint32_t>(0x10 + source)});
  }
  expect_psf_matches_bdf({row}, codes, table, positions);

  Case listed = codes;
  listed.name = "without a space, a filler and the rest one position later";
  listed.request.chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
  table.clear();
  positions.clear();
  for (int position = 0; position < 41; ++position) {
    const int source = position < 32 ? position : position == 32 ? -1 : position - 1;
    positions.push_back(source);
    table.push_back({});
    if (source >= 0)
      table.back().push_back(static_cast<std::uint8_t>(listed.request.chars[source]));
  }
  expect_psf_matches_bdf({row}, listed, table, positions);
}

TEST(PsfWriter, RefusesFontsTheConsoleCannotLoadAndWritesNothing) {
  const auto glyphs = [](std::size_t count, std::size_t width, std::size_t height) {
    std::string row;
    for (std::size_t i = 0; i < count; ++i) row += std::string(width, '#') + ".";
    return Rows(height, row);
  };
  struct Limit {
    Rows rows;
    ErrorDetail refusal;
    std::uint32_t length = 0;  // glyphs of the written font
  };
  const Limit limits[] = {
      {glyphs(512, 1, 1), ErrorDetail::kNone, 512},
      {glyphs(257, 1, 1), ErrorDetail::kNone, 512},
      {glyphs(513, 1, 1), ErrorDetail::kPsfGlyphCount},
      {glyphs(1, 64, 128), ErrorDetail::kNone, 256},
      {glyphs(1, 65, 1), ErrorDetail::kPsfCellSize},
      {glyphs(1, 1, 129), ErrorDetail::kPsfCellSize},
  };
  for (const Limit& limit : limits) {
    SCOPED_TRACE(limit.rows.size() * 100000 + limit.rows[0].size());
    TempDir dir;
    ErrorDetail detail = ErrorDetail::kNone;
    Case framed{"", PipelineRequest{}, ConversionOptions{}};
    framed.request.framing = Framing::kByInk;  // every row of the picture is the glyph's
    const ResultCode result = convert(dir, limit.rows, framed, detail);
    EXPECT_EQ(detail, limit.refusal);
    if (limit.refusal == ErrorDetail::kNone) {
      EXPECT_EQ(result, ResultCode::kOk);
      EXPECT_EQ(u32_at(read_text(dir.file("out.psf")), 16), limit.length);
      continue;
    }
    EXPECT_EQ(result, ResultCode::kUnusableInput);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.psf")));
  }
}

}  // namespace
}  // namespace vellicor::test
