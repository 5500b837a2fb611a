// Fonts of the extended conversion framed by their ink, over generated
// pictures: margins or none, ink in the first and last row and column, upper
// and lower blanks, descents, blank characters. FreeType reads each font back;
// every glyph must show exactly its picture columns' ink, placed by the rule
// worked out here from the picture alone, and lie inside ascent and descent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/converter_factory.hpp"

namespace vellicor::test {
namespace {

// A generated picture and what its font must be.
struct Sheet {
  std::vector<std::string> rows;
  std::vector<std::uint32_t> first;  // each glyph's first column
  std::vector<std::uint32_t> width;  // and its width
};

// Glyphs 1 to 4 columns wide, every column holding a run of ink, one to three
// blank columns apart; margins of 0 to 2 on every side, so ink often touches
// the picture's edges.
Sheet generate_sheet(std::mt19937& random) {
  const auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const int height = pick(2, 10);
  const int top_margin = pick(0, std::min(2, height - 1));
  const int bottom_margin = pick(0, std::min(2, height - 1 - top_margin));
  const int band_bottom = height - 1 - bottom_margin;  // rows top_margin ... band_bottom hold ink
  Sheet sheet;
  std::vector<std::vector<bool>> columns(static_cast<std::size_t>(pick(0, 2)),
                                         std::vector<bool>(static_cast<std::size_t>(height)));
  const int glyphs = pick(1, 5);
  for (int glyph = 0; glyph < glyphs; ++glyph) {
    if (glyph > 0) {
      for (int gap = pick(1, 3); gap > 0; --gap) columns.emplace_back(height);
    }
    sheet.first.push_back(static_cast<std::uint32_t>(columns.size()));
    const int width = pick(1, 4);
    sheet.width.push_back(static_cast<std::uint32_t>(width));
    for (int x = 0; x < width; ++x) {
      std::vector<bool> column(static_cast<std::size_t>(height));
      const int from = pick(top_margin, band_bottom);
      const int to = pick(from, band_bottom);
      for (int y = from; y <= to; ++y) column[static_cast<std::size_t>(y)] = true;
      columns.push_back(column);
    }
  }
  for (int margin = pick(0, 2); margin > 0; --margin) columns.emplace_back(height);
  sheet.rows.assign(static_cast<std::size_t>(height), std::string(columns.size(), '.'));
  for (std::size_t x = 0; x < columns.size(); ++x) {
    for (std::size_t y = 0; y < columns[x].size(); ++y) {
      if (columns[x][y]) sheet.rows[y][x] = '#';
    }
  }
  return sheet;
}

// The first and last rows holding ink anywhere.
std::pair<int, int> inked_rows(const std::vector<std::string>& rows) {
  int first = -1;
  int last = -1;
  for (std::size_t y = 0; y < rows.size(); ++y) {
    if (rows[y].find('#') == std::string::npos) continue;
    if (first < 0) first = static_cast<int>(y);
    last = static_cast<int>(y);
  }
  return {first, last};
}

class FramedFont : public ::testing::Test {
 protected:
  FramedFont() { EXPECT_EQ(create_converter_ex(0, &object_), ResultCode::kOk); }
  ~FramedFont() override {
    if (object_ != nullptr) object_->ops->release(object_);
  }

  std::int32_t convert(const std::vector<std::string>& rows, const ConversionOptions& options,
                       const char* chars) {
    write_file(dir_.file("in.bmp"), make_one_bit_bmp(rows));
    const std::string input = dir_.file("in.bmp");
    const std::string output = dir_.file("out.bdf");
    const ConversionPaths paths{input.c_str(), output.c_str()};
    ConversionSettings settings{};
    settings.size = sizeof settings;
    settings.chars = chars;
    report_ = ConversionReport{};
    report_.size = sizeof report_;
    detail_ = 0;
    return object_->ops->convert_ex(object_, &paths, &options, &settings, &report_, &detail_);
  }
  std::string path() const { return dir_.file("out.bdf"); }

  TempDir dir_;
  ConverterEx* object_ = nullptr;
  ConversionReport report_{};
  ::ErrorDetail detail_ = 0;
};

TEST_F(FramedFont, EveryGlyphIsItsInkInsideTheFontsBox) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 60; ++round) {
    const Sheet sheet = generate_sheet(random);
    const auto [top, bottom] = inked_rows(sheet.rows);
    ConversionOptions options{};
    options.upper_blank = static_cast<std::uint8_t>(random() % 3);
    options.lower_blank = static_cast<std::uint8_t>(random() % 3);
    options.leading_blank = static_cast<std::uint8_t>(random() % 2);
    const int height = bottom - top + 1 + options.upper_blank + options.lower_blank;
    options.descent = static_cast<std::uint8_t>(random() % static_cast<unsigned>(height));
    // Letters for the glyphs, and blank characters before the first, third
    // and fifth.
    const char* const blanks[] = {" ", "\u3000", "\u2003"};
    const std::uint32_t blank_codes[] = {0x20, 0x3000, 0x2003};
    std::string chars;
    std::vector<ExpectedGlyph> expected;
    const int ascent = height - options.descent;
    for (std::size_t glyph = 0; glyph < sheet.first.size(); ++glyph) {
      if (glyph % 2 == 0) {
        chars += blanks[glyph / 2];
        expected.push_back({blank_codes[glyph / 2], {}});
      }
      const auto code = static_cast<std::uint32_t>('a' + glyph);
      chars.push_back(static_cast<char>(code));
      // Picture row top lies on the line right under the upper blanks; y
      // counts up from the baseline.
      expected.push_back(
          {code, picture_ink(sheet.rows, sheet.first[glyph], sheet.width[glyph],
                             options.leading_blank, ascent - 1 - options.upper_blank + top)});
      for (const InkPixel& pixel : expected.back().ink) {
        ASSERT_GE(pixel.y, -options.descent);
        ASSERT_LT(pixel.y, ascent);
      }
    }
    std::string picture;
    for (const std::string& row : sheet.rows) picture += row + "\n";
    SCOPED_TRACE("round " + std::to_string(round) + ", -u " + std::to_string(options.upper_blank) +
                 " -b " + std::to_string(options.lower_blank) + " -d " +
                 std::to_string(options.descent) + "\n" + picture);

    ASSERT_EQ(convert(sheet.rows, options, chars.c_str()), 0) << detail_;
    EXPECT_TRUE(font_renders_as(path(), expected));
    EXPECT_EQ(bdf_property(path(), "PIXEL_SIZE"), std::to_string(height));
    EXPECT_EQ(bdf_property(path(), "FONT_ASCENT"), std::to_string(ascent));
    EXPECT_EQ(bdf_property(path(), "FONT_DESCENT"), std::to_string(options.descent));
    EXPECT_EQ(report_.tallest, static_cast<std::uint32_t>(bottom - top + 1));
  }
  const ToolVerdict pcf = bdftopcf_verdict(path());
  if (pcf == ToolVerdict::kAbsent) GTEST_SKIP() << "bdftopcf is not installed";
  EXPECT_EQ(pcf, ToolVerdict::kAccepted);
}

TEST_F(FramedFont, BlankGlyphsAreEmptyAndEveryToolTakesThem) {
  const std::vector<std::string> rows = {"#.##", "#..#"};
  ASSERT_EQ(convert(rows, ConversionOptions{}, "a b"), 0) << detail_;
  const std::string font = read_text(path());
  EXPECT_NE(font.find("STARTCHAR uni0020\nENCODING 32\nSWIDTH 500 0\nDWIDTH 1 0\nBBX 0 0 0 0\n"
                      "BITMAP\nENDCHAR\n"),
            std::string::npos)
      << font;
  EXPECT_EQ(unicode_advance(path(), 0x20), 1);
  EXPECT_EQ(lines_with(font, "SIZE"), std::vector<std::string>{"SIZE 2 75 75"});
  const ToolVerdict pcf = bdftopcf_verdict(path());
  const ToolVerdict sfnt = fonttosfnt_verdict(path(), dir_.file("out.otb"));
  if (pcf == ToolVerdict::kAbsent || sfnt == ToolVerdict::kAbsent) {
    GTEST_SKIP() << "bdftopcf or fonttosfnt is not installed";
  }
  EXPECT_EQ(pcf, ToolVerdict::kAccepted);
  ASSERT_EQ(sfnt, ToolVerdict::kAccepted);
  EXPECT_EQ(unicode_advance(dir_.file("out.otb"), 0x20), 1);
}

TEST_F(FramedFont, RefusesWhatHoldsNoFont) {
  // A descent as large as the box leaves nothing above the baseline.
  ConversionOptions options{};
  options.lower_blank = 1;
  options.descent = 3;
  EXPECT_EQ(convert({"#.#", "#.#"}, options, nullptr), to_int(ResultCode::kBadArgument));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kDescentTooLarge));
  EXPECT_EQ(report_.font_height, 3u);
  options.descent = 2;
  EXPECT_EQ(convert({"#.#", "#.#"}, options, nullptr), 0);
  std::filesystem::remove(path());

  EXPECT_EQ(convert({"...", "..."}, ConversionOptions{}, nullptr),
            to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kNoInk));
  EXPECT_EQ(report_.ink_rule, VELLICOR_INK_BLACK);
  EXPECT_EQ(convert({"###", "###"}, ConversionOptions{}, nullptr),
            to_int(ResultCode::kUnusableInput));
  EXPECT_EQ(detail_, to_int(ErrorDetail::kAllInk));
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"in.bmp"});
}

}  // namespace
}  // namespace vellicor::test
