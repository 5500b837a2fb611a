// Drawing a font: the picture of small worked examples pixel by pixel, the
// options and list that convert it back, what is lost, and the refusals.
#include "engine/draw/font_drawing.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/drawing/made_font.hpp"

namespace vellicor {
namespace {

using test::made_glyph;

// The picture as text: '.' paper, '#' ink, '|' separator, 'M' mark.
std::vector<std::string> picture_rows(const DrawnPicture& picture) {
  constexpr char kLetters[] = ".#|M";
  std::vector<std::string> rows;
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    std::string row;
    for (std::uint32_t x = 0; x < picture.width; ++x) row += kLetters[picture.at(x, y)];
    rows.push_back(row);
  }
  return rows;
}

ResultCode draw(const LoadedFont& font, FontDrawing& drawing, ErrorDetail& detail,
                DrawRequest request = {}) {
  return draw_font(font, request, drawing, &detail);
}

LoadedFont two_letter_font() {
  LoadedFont font;
  font.ascent = 2;
  font.descent = 1;
  font.glyphs = {made_glyph(65, 3, 0, -1, {"#.", ".#", "#."}), made_glyph(66, 3, 1, 0, {"##"})};
  return font;
}

TEST(FontDrawing, DrawsAGridOfCountingCodesWithoutAList) {
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(draw(two_letter_font(), drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.layout, DrawLayout::kGrid);
  EXPECT_EQ(
      picture_rows(drawing.picture),
      (std::vector<std::string>{"|||||||||", "|#..|...|", "|.#.|.##|", "|#..|...|", "|||||||||"}));
  EXPECT_EQ(drawing.options,
            (std::vector<std::string>{"-v", "65", "-d", "1", "--grid", "3x3", "--grid-origin",
                                      "1,1", "--grid-gap", "1,1", "--ink", "dark"}));
  EXPECT_EQ(drawing.list_text, "");
  EXPECT_EQ(drawing.lost, std::vector<std::string>{});
}

TEST(FontDrawing, DrawsOverhangsUnderMarks) {
  LoadedFont font;
  font.unicode = true;
  font.ascent = 2;
  font.glyphs = {made_glyph('j', 2, -1, 0, {".#", "#."}), made_glyph('f', 2, 0, 1, {"###"})};
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  DrawRequest request;
  request.columns = 2;
  ASSERT_EQ(draw(font, drawing, detail, request), ResultCode::kOk);
  EXPECT_EQ(drawing.layout, DrawLayout::kMarks);
  // j reaches one column left of its mark, f one past its end; a blank
  // column keeps them apart.
  EXPECT_EQ(picture_rows(drawing.picture),
            (std::vector<std::string>{".MM.MM.", ".#..###", "#......"}));
  EXPECT_EQ(drawing.options, (std::vector<std::string>{"--marks", "--ink", "dark"}));
  EXPECT_EQ(drawing.list_text, "jf\n");

  // One glyph a band: two bands, one list line each.
  request.columns = 1;
  ASSERT_EQ(draw(font, drawing, detail, request), ResultCode::kOk);
  EXPECT_EQ(picture_rows(drawing.picture),
            (std::vector<std::string>{".MM", ".#.", "#..", "MM.", "###", "..."}));
  EXPECT_EQ(drawing.options, (std::vector<std::string>{"--marks", "--rows", "2", "--ink", "dark"}));
  EXPECT_EQ(drawing.list_text, "j\nf\n");
}

TEST(FontDrawing, GrowsTheCellForInkPastAscentAndDescent) {
  LoadedFont font = two_letter_font();
  font.ascent = 1;
  font.descent = 0;
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.options[4], "--grid");
  EXPECT_EQ(drawing.options[5], "3x3");
  EXPECT_EQ(drawing.options[3], "1");  // -d
}

TEST(FontDrawing, ListsCodesThatDoNotCountUp) {
  LoadedFont font = two_letter_font();
  font.glyphs[1].code = 0x100;  // a gap after 'A'
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.list_text, "A\xC4\x80\n");
  EXPECT_EQ(drawing.options.front(), "-d");
  EXPECT_EQ(drawing.lost,
            std::vector<std::string>{"The codes are read back as Unicode code points."});

  // A grid without a list reads no empty cell after the last inked one, so
  // a font ending in a blank glyph needs a list even when its codes count.
  font = two_letter_font();
  font.glyphs.push_back(made_glyph(67, 3, 0, 0, {}));
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.list_text, "ABC\n");
}

TEST(FontDrawing, EscapesCodesAPlainListCannotCarry) {
  LoadedFont font = two_letter_font();
  font.unicode = true;
  font.glyphs[0].code = 0;
  font.glyphs[1].code = '\\';
  font.glyphs.push_back(made_glyph(0xFEFF, 3, 0, 0, {"#"}));
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.list_text, "\\escapes\n\\u{0}\\\\\\u{FEFF}\n");
  font.glyphs[0].code = '/';
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.list_text, "\\escapes\n/\\\\\\u{FEFF}\n");
  font.glyphs[2].code = 0x9F;
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.list_text, "\\escapes\n/\\\\\\u{9F}\n");
  font.glyphs[2].code = 0xA0;
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.list_text, "/\\\xC2\xA0\n");
}

TEST(FontDrawing, NamesWhatIsLost) {
  LoadedFont font;
  font.unicode = true;
  font.ascent = 3;
  font.sizes = 3;
  font.glyphs_without_code = 1;
  font.properties = {{"FONT_ASCENT", "3"}, {"COPYRIGHT", "\"x\""}, {"FOUNDRY", "\"y\""}};
  font.glyphs = {made_glyph('A', 3, 0, 0, {"##"}), made_glyph('B', 4, 0, 0, {"#"}),
                 made_glyph(0x301, 0, -2, 2, {"#"}), made_glyph('B', 4, 0, 0, {"#"}),
                 made_glyph(0xD800, 4, 0, 0, {"#"})};
  font.glyphs[0].name = "A";
  font.glyphs[1].name = "uni0042";
  font.glyphs[1].scalable_width = 1333;  // 4 pixels of a 3-pixel font
  font.glyphs[0].scalable_width = 999;
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  ASSERT_EQ(draw(font, drawing, detail), ResultCode::kOk);
  EXPECT_EQ(drawing.lost,
            (std::vector<std::string>{
                "1 glyph without a code: a sheet names glyphs by code.",
                "1 glyph advancing 0 pixels or less: a marked strip marks every glyph's advance.",
                "1 glyph whose code is no Unicode character: a character list cannot name them.",
                "1 glyph repeating an earlier glyph's code: a character list names each code once.",
                "1 glyph name other than uniXXXX or uXXXXX: the conversion names glyphs by their "
                "codes.",
                "2 properties the conversion does not write: COPYRIGHT, FOUNDRY.",
                "2 further sizes: only the first size is drawn.",
                "1 scalable width (SWIDTH) other than the conversion computes from the advance "
                "and the font's height."}));
  EXPECT_EQ(drawing.list_text, "A\nB\n");  // one glyph a band
}

TEST(FontDrawing, Refusals) {
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  LoadedFont font;
  EXPECT_EQ(draw(font, drawing, detail), ResultCode::kUnusableInput);
  EXPECT_EQ(detail, ErrorDetail::kFontNoGlyph);

  // Blank glyphs only: a picture without a glyph's ink converts to nothing.
  font.glyphs = {made_glyph(' ', 3, 0, 0, {}), made_glyph('!', 3, 0, 0, {".."})};
  EXPECT_EQ(draw(font, drawing, detail), ResultCode::kUnusableInput);
  EXPECT_EQ(detail, ErrorDetail::kFontNoGlyph);

  font = two_letter_font();
  font.glyphs[1].advance = 4;
  DrawRequest grid;
  grid.layout = DrawLayout::kGrid;
  EXPECT_EQ(draw(font, drawing, detail, grid), ResultCode::kBadArgument);
  EXPECT_EQ(detail, ErrorDetail::kLayoutSettings);

  font = two_letter_font();
  font.glyphs[1].lines.pop_back();  // fewer bits than its box
  EXPECT_EQ(draw(font, drawing, detail), ResultCode::kUnusableInput);
  EXPECT_EQ(detail, ErrorDetail::kFontDamaged);

  // Ink 300 rows below the baseline needs a -d past what it takes.
  font = two_letter_font();
  font.glyphs[1].y_offset = -300;
  EXPECT_EQ(draw(font, drawing, detail), ResultCode::kBadArgument);
  EXPECT_EQ(detail, ErrorDetail::kLayoutSettings);
  EXPECT_TRUE(drawing.options.empty());  // untouched on failure
}

TEST(FontDrawing, RefusesAPicturePastTheReadersLimits) {
  // 3,000 cells of 4,096 pixels in one row: rows wider than a reader holds
  // beside the ink map.
  LoadedFont font;
  font.glyphs.push_back(made_glyph(0, 4096, 0, 0, {"#"}));
  for (std::int64_t code = 1; code < 3000; ++code)
    font.glyphs.push_back(made_glyph(code, 4096, 0, 0, {}));
  FontDrawing drawing;
  ErrorDetail detail = ErrorDetail::kNone;
  DrawRequest request;
  request.columns = 3000;
  EXPECT_EQ(draw(font, drawing, detail, request), ResultCode::kUnusableInput);
  EXPECT_EQ(detail, ErrorDetail::kPictureTooLarge);
  // The same in a grid of 16 columns fits.
  request.columns = 0;
  EXPECT_EQ(draw(font, drawing, detail, request), ResultCode::kOk);
  EXPECT_EQ(drawing.picture.width, 1u + 16u * 4097u);
}

}  // namespace
}  // namespace vellicor
