// The Unicode font's header through cvellicor, read back with FreeType's BDF
// driver: the properties the README lists, the DEFAULT_CHAR rule, SPACING
// under -w, and both forms of a long option's value.
#include <gtest/gtest.h>

#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "tests/console/run_program.hpp"
#include "tests/support/bdf_check.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/param_label.hpp"
#include "tests/support/temp_dir.hpp"
#include "tests/support/worked_example.h"

namespace vellicor::test {
namespace {

class CvellicorUnicode : public ::testing::Test {
 protected:
  CvellicorUnicode() {
    std::vector<std::string> rows(std::begin(kWorkedExampleRows), std::end(kWorkedExampleRows));
    // Without the column at the right edge, which a font framed by its ink
    // keeps as a fourth glyph.
    for (std::string& row : rows) row.back() = '.';
    write_file(directory_.file("strip.bmp"), make_one_bit_bmp(rows));
  }
  // Converts the worked example's three glyphs with one allowed blank column
  // and descent 1, plus extra arguments; the font's path.
  std::string convert(const std::vector<std::string>& extra) {
    std::vector<std::string> arguments = {"-a", "1", "-d", "1", "-o", "font.bdf"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.push_back("strip.bmp");
    const ProgramRun result = run_program(binary_dir() / "cvellicor", arguments, directory_.path());
    EXPECT_EQ(result.exit_status, 0) << result.output;
    EXPECT_EQ(result.output, "");
    return directory_.file("font.bdf");
  }
  std::string property(const char* name) { return bdf_property(directory_.file("font.bdf"), name); }

  TempDir directory_;
};

TEST_F(CvellicorUnicode, HeaderHasTheSizeResolutionAndStyleProperties) {
  convert({"--chars", "abc"});
  // The box is 4 pixels high: 4 x 722.7 / 75 = 38.54 tenths of a point.
  EXPECT_EQ(property("PIXEL_SIZE"), "4");
  EXPECT_EQ(property("POINT_SIZE"), "39");
  EXPECT_EQ(property("RESOLUTION_X"), "75");
  EXPECT_EQ(property("RESOLUTION_Y"), "75");
  EXPECT_EQ(property("WEIGHT_NAME"), "Medium");
  EXPECT_EQ(property("SLANT"), "R");
  EXPECT_EQ(property("SPACING"), "P");
  EXPECT_EQ(property("DEFAULT_CHAR"), "97");
}

TEST_F(CvellicorUnicode, ValueAfterAnEqualsSignIsTheSameOption) {
  const std::string spaced = read_text(convert({"--chars", "abc"}));
  const std::string joined = read_text(convert({"--chars=abc"}));
  EXPECT_EQ(joined, spaced);
  EXPECT_NE(joined.find("\nENCODING 97\n"), std::string::npos);
  EXPECT_NE(joined.find("\nENCODING 99\n"), std::string::npos);
}

TEST_F(CvellicorUnicode, PointSizeFollowsThePixelSize) {
  // Blank rows above every glyph make the box taller; each point size is
  // the pixel size at 75 pixels per inch in tenths of a point (722.7 per
  // inch), rounded.
  const struct {
    const char* upper_blank;
    const char* pixel_size;
    const char* point_size;
  } sizes[] = {{"1", "5", "48"}, {"12", "16", "154"}, {"20", "24", "231"}, {"50", "54", "520"}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(size.upper_blank);
    convert({"-u", size.upper_blank, "--chars", "abc"});
    EXPECT_EQ(property("PIXEL_SIZE"), size.pixel_size);
    EXPECT_EQ(property("POINT_SIZE"), size.point_size);
  }
}

TEST_F(CvellicorUnicode, FixedWidthIsACharacterCellFont) {
  convert({"-w", "--chars", " a?c"});
  EXPECT_EQ(property("SPACING"), "C");
  convert({"--chars", " a?c"});
  EXPECT_EQ(property("SPACING"), "P");
}

// The DEFAULT_CHAR rule: U+FFFD when listed, else '?' when listed, else the
// first character that takes a glyph with ink (blanks do not).
struct DefaultCase {
  const char* label;
  const char* chars;
  const char* default_char;
};

void PrintTo(const DefaultCase& row, std::ostream* out) { print_label(out, {row.label}); }

class CvellicorDefaultChar : public CvellicorUnicode,
                             public ::testing::WithParamInterface<DefaultCase> {};

TEST_P(CvellicorDefaultChar, FollowsTheRule) {
  convert({"--chars", GetParam().chars});
  EXPECT_EQ(property("DEFAULT_CHAR"), GetParam().default_char);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, CvellicorDefaultChar,
    ::testing::Values(DefaultCase{"FirstWithInk", "xyz", "120"},
                      DefaultCase{"BlankFirstIsSkipped", "\u3000 xyz", "120"},
                      DefaultCase{"QuestionMarkListed", "ab?", "63"},
                      DefaultCase{"ReplacementCharacterListed", "a\uFFFDb", "65533"},
                      DefaultCase{"ReplacementCharacterBeforeQuestionMark", "?a\uFFFD", "65533"}),
    [](const auto& row) { return std::string(row.param.label); });

}  // namespace
}  // namespace vellicor::test
