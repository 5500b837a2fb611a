// Sheets: a strip in bands gives the records its bands give alone; grids and
// marked bands put every glyph's ink where the picture has it relative to its
// cell or mark, as FreeType reads the font back; and their refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/converter_factory.hpp"

namespace vellicor::test {
namespace {

using Rows = std::vector<std::string>;

class SheetLayout : public ::testing::Test {
 protected:
  SheetLayout() {
    EXPECT_EQ(create_converter_ex(0, &object_), ResultCode::kOk);
    settings_.size = sizeof settings_;
  }
  ~SheetLayout() override {
    if (object_ != nullptr) object_->ops->release(object_);
  }

  std::int32_t convert(const Rows& rows, const ConversionOptions& options, const char* name) {
    write_file(dir_.file("in.bmp"), make_one_bit_bmp(rows));
    const std::string input = dir_.file("in.bmp");
    const std::string output = dir_.file(name);
    const ConversionPaths paths{input.c_str(), output.c_str()};
    report_ = ConversionReport{};
    report_.size = sizeof report_;
    detail_ = 0;
    return object_->ops->convert_ex(object_, &paths, &options, &settings_, &report_, &detail_);
  }
  std::string path(const char* name) const { return dir_.file(name); }

  TempDir dir_;
  ConverterEx* object_ = nullptr;
  ConversionSettings settings_{};
  ConversionReport report_{};
  ::ErrorDetail detail_ = 0;
};

// The glyph records of a font, STARTCHAR to ENDCHAR.
std::string records_of(const std::string& font) {
  const std::size_t first = font.find("STARTCHAR");
  const std::size_t end = font.rfind("ENDFONT");
  if (first == std::string::npos || end == std::string::npos) return {};
  return font.substr(first, end - first);
}

// A strip of one to four glyphs with random ink, margins and heights, in a
// band of band_height rows.
Rows random_strip(std::mt19937& random, int band_height) {
  const auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  Rows rows(static_cast<std::size_t>(band_height));
  const auto blank_columns = [&rows](int count) {
    for (std::string& row : rows) row.append(static_cast<std::size_t>(count), '.');
  };
  blank_columns(pick(0, 2));
  for (int glyph = pick(1, 4); glyph > 0; --glyph) {
    for (int x = pick(1, 3); x > 0; --x) {
      const int from = pick(0, band_height - 1);
      const int to = pick(from, band_height - 1);
      for (int y = 0; y < band_height; ++y) {
        rows[static_cast<std::size_t>(y)].push_back(y >= from && y <= to ? '#' : '.');
      }
    }
    blank_columns(pick(2, 3));
  }
  return rows;
}

TEST_F(SheetLayout, BandsGiveTheRecordsEachBandGivesAlone) {
  std::mt19937 random(18);
  for (int round = 0; round < 25; ++round) {
    const int bands = 2 + round % 3;
    const int band_height = 3 + round % 4;
    ConversionOptions options{};
    options.upper_blank = static_cast<std::uint8_t>(random() % 2);
    options.lower_blank = static_cast<std::uint8_t>(random() % 2);
    options.leading_blank = static_cast<std::uint8_t>(random() % 2);
    options.fixed_width = static_cast<std::uint8_t>(round % 2);
    options.first_glyph = 32;
    std::vector<Rows> strips;
    std::size_t width = 0;
    for (int band = 0; band < bands; ++band) {
      strips.push_back(random_strip(random, band_height));
      width = std::max(width, strips.back().front().size());
    }
    // Each band alone, its codes going on from the band before.
    std::string alone;
    Rows sheet;
    settings_.rows = 0;
    for (Rows& strip : strips) {
      for (std::string& row : strip) row.resize(width, '.');
      sheet.insert(sheet.end(), strip.begin(), strip.end());
      ASSERT_EQ(convert(strip, options, "alone.bdf"), 0) << detail_;
      alone += records_of(read_text(path("alone.bdf")));
      options.first_glyph = static_cast<std::uint16_t>(options.first_glyph + report_.glyphs_cut);
    }
    std::string picture;
    for (const std::string& row : sheet) picture += row + "\n";
    SCOPED_TRACE("round " + std::to_string(round) + "\n" + picture);
    options.first_glyph = 32;
    settings_.rows = static_cast<std::uint32_t>(bands);
    ASSERT_EQ(convert(sheet, options, "bands.bdf"), 0) << detail_;
    EXPECT_EQ(records_of(read_text(path("bands.bdf"))), alone);
    EXPECT_TRUE(font_opens_with(path("bands.bdf"), report_.glyph_count));
  }
}

TEST_F(SheetLayout, ListLinesPairWithBandsOrRunAcrossThem) {
  const Rows sheet = {"#.#.", "#.#.", "..#.", "..#."};
  settings_.rows = 2;
  settings_.chars = "ab\nc";
  ASSERT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), 0) << detail_;
  settings_.chars = "ab c";  // one line across both bands
  ASSERT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), 0) << detail_;
  EXPECT_EQ(report_.glyph_count, 4u);

  settings_.chars = "a\nbc";
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kBandCount));
  EXPECT_EQ(report_.problem_band, 1u);
  EXPECT_EQ(report_.band_glyphs, 2u);
  EXPECT_EQ(report_.band_characters, 1u);
  settings_.chars = "ab\nc\nd";
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kListLines));
  EXPECT_EQ(report_.list_lines, 3u);
  EXPECT_EQ(report_.bands, 2u);
}

// A grid of cells w x h, one pixel of separator (drawn as ink, which the
// cut must skip) between cells and around them; cells[i] lists the ink of
// cell i as rows of '#'.
struct Grid {
  Rows rows;
  int columns = 0;
};
Grid draw_grid(const std::vector<Rows>& cells, int columns, int w, int h) {
  const int grid_rows = static_cast<int>((cells.size() + columns - 1) / columns);
  Grid grid;
  grid.columns = columns;
  grid.rows.assign(static_cast<std::size_t>(grid_rows * (h + 1) + 1),
                   std::string(static_cast<std::size_t>(columns * (w + 1) + 1), '.'));
  for (std::size_t y = 0; y < grid.rows.size(); ++y) {
    for (std::size_t x = 0; x < grid.rows[y].size(); ++x) {
      if (y % static_cast<std::size_t>(h + 1) == 0 || x % static_cast<std::size_t>(w + 1) == 0) {
        grid.rows[y][x] = '#';
      }
    }
  }
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int left = 1 + static_cast<int>(i) % columns * (w + 1);
    const int top = 1 + static_cast<int>(i) / columns * (h + 1);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        grid.rows[static_cast<std::size_t>(top + y)][static_cast<std::size_t>(left + x)] =
            cells[i][static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      }
    }
  }
  return grid;
}

// The ink of a cell's rows as FreeType shows it: x from the cell's left
// edge plus shift, y up from the baseline descent rows above its bottom.
std::vector<InkPixel> cell_ink(const Rows& cell, int descent, int shift) {
  std::vector<InkPixel> ink;
  const int h = static_cast<int>(cell.size());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < static_cast<int>(cell[0].size()); ++x) {
      if (cell[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#') {
        ink.push_back({x + shift, h - 1 - descent - y});
      }
    }
  }
  return ink;
}

Rows random_cell(std::mt19937& random, int w, int h, bool empty) {
  Rows cell(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w), '.'));
  if (empty) return cell;
  const int pixels = 1 + static_cast<int>(random() % 6);
  for (int i = 0; i < pixels; ++i) {
    cell[random() % static_cast<unsigned>(h)][random() % static_cast<unsigned>(w)] = '#';
  }
  return cell;
}

TEST_F(SheetLayout, GridGlyphsKeepTheirPlaceInTheirCell) {
  std::mt19937 random(1916);
  for (int round = 0; round < 20; ++round) {
    const int w = 2 + round % 5;
    const int h = 3 + round % 4;
    const int descent = round % 3 == 0 ? 0 : static_cast<int>(random() % 2);
    // Some empty cells among the glyphs, and empty cells after the last.
    std::vector<Rows> cells;
    const int inked = 3 + static_cast<int>(random() % 6);
    for (int i = 0; i < inked; ++i) {
      cells.push_back(random_cell(random, w, h, i != 0 && i + 1 != inked && random() % 4 == 0));
    }
    for (int i = static_cast<int>(random() % 4); i > 0; --i)
      cells.push_back(random_cell(random, w, h, true));
    const Grid grid = draw_grid(cells, 4, w, h);
    std::string picture;
    for (const std::string& row : grid.rows) picture += row + "\n";
    SCOPED_TRACE("round " + std::to_string(round) + "\n" + picture);

    ConversionOptions options{};
    options.descent = static_cast<std::uint8_t>(descent);
    settings_.layout = VELLICOR_LAYOUT_GRID;
    settings_.cell_width = static_cast<std::uint32_t>(w);
    settings_.cell_height = static_cast<std::uint32_t>(h);
    settings_.grid_origin_x = settings_.grid_origin_y = 1;
    settings_.grid_gap_x = settings_.grid_gap_y = 1;
    // Codes: letters from 'a', one per cell, blank or not.
    std::string chars;
    std::vector<ExpectedGlyph> expected;
    for (int i = 0; i < inked; ++i) {
      const auto code = static_cast<std::uint32_t>('a' + i);
      chars.push_back(static_cast<char>(code));
      expected.push_back({code, cell_ink(cells[static_cast<std::size_t>(i)], descent, 0)});
    }
    settings_.chars = chars.c_str();
    ASSERT_EQ(convert(grid.rows, options, "grid.bdf"), 0) << detail_;
    EXPECT_TRUE(font_renders_as(path("grid.bdf"), expected));
    if (reads_fonts_back()) {
      EXPECT_EQ(unicode_advance(path("grid.bdf"), 'a'), w);
      EXPECT_EQ(bdf_property(path("grid.bdf"), "FONT_ASCENT"), std::to_string(h - descent));
      EXPECT_EQ(bdftopcf_verdict(path("grid.bdf")), ToolVerdict::kAccepted);
    }
  }
}

TEST_F(SheetLayout, GridWithoutAListCountsCodesPerCellAndProportionalAdvancesItsInk) {
  const std::vector<Rows> cells = {{"#..", "#.."}, {"...", "..."}, {".##", ".#."}, {"...", "..."}};
  const Grid grid = draw_grid(cells, 4, 3, 2);
  settings_.layout = VELLICOR_LAYOUT_GRID;
  settings_.cell_width = 3;
  settings_.cell_height = 2;
  settings_.grid_origin_x = settings_.grid_origin_y = 1;
  settings_.grid_gap_x = settings_.grid_gap_y = 1;
  ConversionOptions options{};
  options.first_glyph = 65;
  ASSERT_EQ(convert(grid.rows, options, "out.bdf"), 0) << detail_;
  const std::string font = read_text(path("out.bdf"));
  EXPECT_EQ(lines_with(font, "ENCODING"),
            (std::vector<std::string>{"ENCODING 65", "ENCODING 66", "ENCODING 67"}));
  EXPECT_EQ(lines_with(font, "BBX"),
            (std::vector<std::string>{"BBX 1 2 0 0", "BBX 0 0 0 0", "BBX 2 2 1 0"}));
  EXPECT_EQ(lines_with(font, "DWIDTH"), std::vector<std::string>(3, "DWIDTH 3 0"));

  // The empty cell takes the lower median of the inked glyphs' advances.
  settings_.proportional = 1;
  options.leading_blank = 1;
  options.trailing_blank = 1;
  ASSERT_EQ(convert(grid.rows, options, "out.bdf"), 0) << detail_;
  const std::string proportional = read_text(path("out.bdf"));
  EXPECT_EQ(lines_with(proportional, "BBX"),
            (std::vector<std::string>{"BBX 1 2 1 0", "BBX 0 0 0 0", "BBX 2 2 1 0"}));
  EXPECT_EQ(lines_with(proportional, "DWIDTH"),
            (std::vector<std::string>{"DWIDTH 3 0", "DWIDTH 3 0", "DWIDTH 4 0"}));

  // A list may run on over the empty cells past the last inked one, not
  // past the grid, and not stop before the last inked cell.
  settings_.proportional = 0;
  options = ConversionOptions{};
  settings_.chars = "abcd";
  EXPECT_EQ(convert(grid.rows, options, "out.bdf"), 0) << detail_;
  settings_.chars = "abcde";
  EXPECT_EQ(convert(grid.rows, options, "out.bdf"), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kCharsCount));
  settings_.chars = "ab";
  EXPECT_EQ(convert(grid.rows, options, "out.bdf"), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(report_.glyphs_cut, 3u);
  EXPECT_EQ(report_.characters_listed, 2u);
  EXPECT_EQ(report_.grid_columns, 4u);
}

TEST_F(SheetLayout, MarkedGlyphsKeepTheirAdvanceAndOverhang) {
  // Marks in the top row; 'a' overhangs its box by one column on the right,
  // 'b' by one on the left, the blank mark between them is a space.
  const Rows sheet = {
      "###..##...###",  // marks: [0,3) [5,7) [10,13)
      "...#.....#...",  //
      "##.#.....####",  //
      "...........#.",  //
  };
  settings_.layout = VELLICOR_LAYOUT_MARKS;
  settings_.chars = "a b";
  ConversionOptions options{};
  options.descent = 1;
  ASSERT_EQ(convert(sheet, options, "out.bdf"), 0) << detail_;
  const std::string font = read_text(path("out.bdf"));
  EXPECT_EQ(lines_with(font, "DWIDTH"),
            (std::vector<std::string>{"DWIDTH 3 0", "DWIDTH 2 0", "DWIDTH 3 0"}));
  EXPECT_EQ(lines_with(font, "BBX"),
            (std::vector<std::string>{"BBX 4 2 0 0", "BBX 0 0 0 0", "BBX 4 3 -1 -1"}));
  const std::vector<ExpectedGlyph> expected = {
      {'a', {{3, 1}, {0, 0}, {1, 0}, {3, 0}}},
      {' ', {}},
      {'b', {{-1, 1}, {-1, 0}, {0, 0}, {1, 0}, {2, 0}, {1, -1}}},
  };
  EXPECT_TRUE(font_renders_as(path("out.bdf"), expected));
  if (reads_fonts_back()) {
    EXPECT_EQ(unicode_advance(path("out.bdf"), ' '), 2);
  }

  settings_.chars = "ab";
  EXPECT_EQ(convert(sheet, options, "out.bdf"), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kCharsCount));
}

TEST_F(SheetLayout, RefusesSheetsThatDoNotFitAndWritesNothing) {
  const Rows sheet = {"#.#", "#.#", "#.#"};
  settings_.rows = 2;
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kRowsDoNotDivide));
  EXPECT_EQ(report_.bands, 2u);
  EXPECT_EQ(report_.picture_height, 3u);

  settings_.rows = 0;
  settings_.layout = VELLICOR_LAYOUT_GRID;
  settings_.cell_width = 4;
  settings_.cell_height = 2;
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kNoCell));
  settings_.cell_width = 1;
  settings_.grid_origin_x = 3;
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kNoCell));
  settings_.grid_origin_x = 0;
  ConversionOptions deep{};
  deep.descent = 2;
  EXPECT_EQ(convert(sheet, deep, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kDescentTooLarge));
  EXPECT_EQ(report_.font_height, 2u);  // the cell's height

  // Settings that do not fit together.
  settings_.rows = 2;
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kLayoutSettings));
  settings_ = ConversionSettings{};
  settings_.size = sizeof settings_;
  settings_.proportional = 1;
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kLayoutSettings));
  settings_.proportional = 0;
  settings_.rows = 65537;  // more bands than a sheet may hold glyphs
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kLayoutSettings));
  settings_.rows = 0;
  settings_.layout = 7;
  EXPECT_EQ(convert(sheet, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kLayoutSettings));

  // One glyph a pixel: 65,537 cells of ink.
  settings_.layout = VELLICOR_LAYOUT_GRID;
  settings_.cell_width = 1;
  settings_.cell_height = 1;
  settings_.grid_gap_x = 1;
  std::string row;
  for (int i = 0; i < 65537; ++i) row += "#.";
  EXPECT_EQ(convert({row}, ConversionOptions{}, "out.bdf"), to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kTooManyGlyphs));
  row.resize(row.size() - 2);
  EXPECT_EQ(convert({row}, ConversionOptions{}, "many.bdf"), 0) << detail_;
  EXPECT_EQ(report_.glyph_count, 65536u);
  EXPECT_EQ(dir_.entries(), (std::vector<std::string>{"in.bmp", "many.bdf"}));
}

}  // namespace
}  // namespace vellicor::test
