// Drawing a font and converting the picture back with the real cvellicor and
// the options the drawing names: a font cvellicor wrote from a grid or a
// marked strip comes back byte for byte, and a hand-made font keeps every
// glyph's code, advance and ink relative to its origin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/draw/font_drawing.hpp"
#include "tests/console/run_program.hpp"
#include "tests/drawing/bdf_test_font.hpp"
#include "tests/drawing/made_font.hpp"
#include "tests/support/png_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

using test::ProgramRun;
using test::TempDir;

constexpr std::uint8_t kPaletteColourType = 3;
constexpr std::uint8_t kEightBits = 8;

// The drawing as an eight-bit palette PNG with the drawing's colours.
std::vector<std::uint8_t> picture_png(const DrawnPicture& picture) {
  test::PngChunk palette{"PLTE", {}};
  for (const auto& colour : kDrawnPalette) {
    palette.data.insert(palette.data.end(), colour.begin(), colour.end());
  }
  return test::layout_png(picture.width, picture.height, kEightBits, kPaletteColourType, false,
                          [&picture](std::uint32_t x, std::uint32_t y) {
                            return std::vector<std::uint16_t>{picture.at(x, y)};
                          },
                          {palette});
}

class DrawRoundTrip : public ::testing::Test {
 protected:
  ProgramRun convert(std::vector<std::string> arguments) {
    return test::run_program(test::binary_dir() / "cvellicor", arguments, directory_.path());
  }

  // The font cvellicor writes from a picture of the source tree.
  std::string written_font(std::vector<std::string> arguments, const std::string& picture) {
    for (std::string& argument : arguments) {
      if (argument.starts_with("docs/")) argument = (test::source_dir() / argument).string();
    }
    arguments.insert(arguments.end(), {"-f", "Round Trip", "-o", directory_.file("original.bdf"),
                                       (test::source_dir() / picture).string()});
    const ProgramRun run = convert(arguments);
    EXPECT_EQ(run.exit_status, 0) << run.output;
    return test::read_text(directory_.file("original.bdf"));
  }

  // Draws font, saves the picture and its list, converts them back and
  // returns the font written.
  std::string drawn_back(const LoadedFont& font, FontDrawing& drawing, DrawRequest request = {}) {
    ErrorDetail detail = ErrorDetail::kNone;
    EXPECT_EQ(draw_font(font, request, drawing, &detail), ResultCode::kOk);
    EXPECT_EQ(detail, ErrorDetail::kNone);
    test::write_file(directory_.file("drawn.png"), picture_png(drawing.picture));
    std::vector<std::string> arguments = drawing.options;
    if (!drawing.list_text.empty()) {
      test::write_text(directory_.file("drawn.txt"), drawing.list_text);
      arguments.insert(arguments.end(), {"--chars-file", directory_.file("drawn.txt")});
    }
    if (!font.font_name.empty()) arguments.insert(arguments.end(), {"-f", font.font_name});
    arguments.insert(arguments.end(),
                     {"-o", directory_.file("back.bdf"), directory_.file("drawn.png")});
    const ProgramRun run = convert(arguments);
    EXPECT_EQ(run.exit_status, 0) << run.output;
    return test::read_text(directory_.file("back.bdf"));
  }

  TempDir directory_;
};

struct WrittenSheet {
  const char* label;
  const char* picture;
  std::vector<std::string> arguments;
  DrawLayout drawn;  // the layout the drawing chooses
};

class DrawRoundTripSheet : public DrawRoundTrip,
                           public ::testing::WithParamInterface<WrittenSheet> {};

TEST_P(DrawRoundTripSheet, GivesTheFontBackByteForByte) {
  const std::string original = written_font(GetParam().arguments, GetParam().picture);
  ASSERT_FALSE(original.empty());
  FontDrawing drawing;
  const std::string back = drawn_back(test::bdf_test_font(original), drawing);
  EXPECT_EQ(drawing.layout, GetParam().drawn);
  EXPECT_EQ(drawing.lost, std::vector<std::string>{});
  EXPECT_EQ(back, original);
}

const std::vector<std::string> kGridCells = {
    "--grid", "7x11", "--grid-origin", "1,1", "--grid-gap", "1,1", "-d", "3", "--ink", "dark"};

std::vector<std::string> grid_with(std::vector<std::string> more) {
  std::vector<std::string> arguments = kGridCells;
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, DrawRoundTripSheet,
    ::testing::Values(
        WrittenSheet{"GridWithCharset", "docs/sheets/grid.png", grid_with({"--charset", "ascii"}),
                     DrawLayout::kGrid},
        WrittenSheet{"GridWithoutList", "docs/sheets/grid.png", grid_with({"-v", "32"}),
                     DrawLayout::kGrid},
        WrittenSheet{"GridFixedWidth", "docs/sheets/grid.png",
                     grid_with({"-w", "--charset", "ascii"}), DrawLayout::kGrid},
        WrittenSheet{"GridProportional", "docs/sheets/grid.png",
                     grid_with({"--proportional", "-l", "1", "-r", "2", "--charset", "ascii"}),
                     DrawLayout::kMarks},
        WrittenSheet{"GridProportionalWithoutList", "docs/sheets/grid.png",
                     grid_with({"--proportional", "-r", "1", "-v", "0x20"}), DrawLayout::kMarks},
        WrittenSheet{"ConsoleGrid",
                     "examples/ascii_grid.png",
                     {"--grid", "8x16", "--grid-origin", "1,1", "--grid-gap", "1,1", "--ink",
                      "dark", "-d", "2", "--charset", "ascii"},
                     DrawLayout::kGrid},
        WrittenSheet{
            "MarksWithOverhangs",
            "docs/sheets/marks.png",
            {"--marks", "-d", "3", "--ink", "dark", "--chars-file", "docs/sheets/marks.txt"},
            DrawLayout::kMarks},
        WrittenSheet{"MarksWithoutList",
                     "docs/sheets/marks.png",
                     {"--marks", "-d", "3", "--ink", "dark", "-v", "100"},
                     DrawLayout::kMarks}),
    [](const auto& row) { return std::string(row.param.label); });

// A grid of 3 x 2 cells of 4 x 4 pixels with separator lines, each cell's
// ink a column as tall as its place, converted with an escaped list.
TEST_F(DrawRoundTrip, GridWithNulAndControlsInAnEscapedList) {
  std::vector<std::string> picture_rows(11, std::string(16, '.'));
  for (std::size_t cell = 0; cell < 6; ++cell) {
    const std::size_t left = 1 + cell % 3 * 5;
    const std::size_t top = 1 + cell / 3 * 5;
    for (std::size_t row = 0; row <= cell % 4; ++row)
      picture_rows[top + row][left + cell % 4] = '#';
  }
  test::write_file(directory_.file("sheet.png"),
                   test::png_file(test::grey_strip_chunks(picture_rows)));
  test::write_text(directory_.file("sheet.txt"),
                   "\\escapes\n\\u{0}\\u{1F}\\\\\n\\u{7F}\\u{9F}\\u{FEFF}\n");
  const ProgramRun run = convert({"--grid", "4x4", "--grid-origin", "1,1", "--grid-gap", "1,1",
                                  "-d", "1", "--chars-file", directory_.file("sheet.txt"), "-o",
                                  directory_.file("original.bdf"), directory_.file("sheet.png")});
  ASSERT_EQ(run.exit_status, 0) << run.output;
  const std::string original = test::read_text(directory_.file("original.bdf"));
  EXPECT_NE(original.find("STARTCHAR uni0000\nENCODING 0\n"), std::string::npos);

  FontDrawing drawing;
  const std::string back = drawn_back(test::bdf_test_font(original), drawing);
  EXPECT_EQ(drawing.list_text, "\\escapes\n\\u{0}\\u{1F}\\\\\\u{7F}\\u{9F}\\u{FEFF}\n");
  EXPECT_EQ(back, original);
}

// Each glyph's code, advance and ink from its origin, in font order.
using GlyphFigures =
    std::tuple<std::int64_t, std::int32_t, std::set<std::pair<std::int64_t, std::int64_t>>>;
std::vector<GlyphFigures> figures_of(const LoadedFont& font) {
  std::vector<GlyphFigures> figures;
  for (const LoadedGlyph& glyph : font.glyphs) {
    figures.emplace_back(glyph.code, glyph.advance, test::ink_from_origin(glyph));
  }
  return figures;
}

// A font no conversion wrote: ink left of the origin and past the advance,
// ink above the ascent and below the descent, blank margins in the boxes, a
// blank glyph of its own advance, and a glyph advancing 0.
LoadedFont foreign_font() {
  LoadedFont font;
  font.font_name = "Foreign";
  font.unicode = true;
  font.ascent = 4;
  font.descent = 1;
  font.glyphs = {
      test::made_glyph('j', 3, -2, -2, {"...#", "....", "...#", "...#", "#..#", ".##."}),
      test::made_glyph(' ', 7, 0, 0, {}),
      test::made_glyph('f', 3, 0, 0, {"..###", ".#...", "####.", ".#...", ".#..."}),
      test::made_glyph(0x301, 0, -3, 5, {"..#", ".#."}),  // a combining accent
      test::made_glyph('A', 5, 0, 0, {".....", ".###.", "#...#", "#####", "#...#", "....."}),
      test::made_glyph(0x7F, 2, 0, 6, {"##"})};
  return font;
}

TEST_F(DrawRoundTrip, ForeignFontKeepsEveryGlyphItCanMark) {
  const LoadedFont font = foreign_font();
  FontDrawing drawing;
  const LoadedFont back = test::bdf_test_font(drawn_back(font, drawing));
  EXPECT_EQ(drawing.layout, DrawLayout::kMarks);
  EXPECT_EQ(drawing.lost, std::vector<std::string>{"1 glyph advancing 0 pixels or less: a marked "
                                                   "strip marks every glyph's advance."});
  LoadedFont expected = font;
  expected.glyphs.erase(expected.glyphs.begin() + 3);
  EXPECT_EQ(figures_of(back), figures_of(expected));
  EXPECT_EQ(back.ascent, 7);   // the delete's ink lies 6 rows above the first
  EXPECT_EQ(back.descent, 2);  // j's tail 2 rows down
}

TEST_F(DrawRoundTrip, ForeignFontInAGridKeepsCodesAndInk) {
  // One advance, ink within it: a grid, codes counting up from 200 without
  // a list, a blank glyph among them and ink past the stated ascent.
  LoadedFont font;
  font.ascent = 2;
  font.descent = 0;
  font.glyphs = {test::made_glyph(200, 4, 1, -1, {"##", "#.", ".#"}),
                 test::made_glyph(201, 4, 0, 0, {"....", "...."}),
                 test::made_glyph(202, 4, 0, 3, {"####"})};
  for (int columns : {0, 1}) {
    FontDrawing drawing;
    DrawRequest request;
    request.columns = static_cast<std::uint32_t>(columns);
    const LoadedFont back = test::bdf_test_font(drawn_back(font, drawing, request));
    EXPECT_EQ(drawing.layout, DrawLayout::kGrid);
    EXPECT_EQ(drawing.list_text, "");
    EXPECT_EQ(figures_of(back), figures_of(font));
  }
}

}  // namespace
}  // namespace vellicor
