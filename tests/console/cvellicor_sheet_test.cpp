// cvellicor's sheet options run as the real program: every refusal with its
// message and exit status, nothing written, and the options in --help.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/console/run_program.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor::test {
namespace {

class SheetRuns : public ::testing::Test {
 protected:
  SheetRuns() {
    write_file(dir_.file("sheet.bmp"), make_one_bit_bmp({"#.#.", "....", "#.#.", "...."}));
  }

  // Runs cvellicor with options and the picture last.
  ProgramRun run(std::vector<std::string> options) {
    options.push_back("sheet.bmp");
    return run_program(binary_dir() / "cvellicor", options, dir_.path());
  }
  bool only_the_picture() const { return dir_.entries() == std::vector<std::string>{"sheet.bmp"}; }

  TempDir dir_;
};

TEST_F(SheetRuns, BadValuesAreRefusedWithTheirMessage) {
  const std::string rows = "Invalid Rows Value: the number of rows of glyphs, 1 to 65536\n";
  const std::string cell =
      "Invalid Grid Cell Value: the cell's width and height in pixels, each 1 or more, as in "
      "8x16\n";
  const std::string charset = "Invalid Character Set Value: ascii, latin1, cp437 or cp1252\n";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--rows", "0"}, rows},
      {{"--rows", "two"}, rows},
      {{"--marks", "--rows=4294967296"}, rows},
      {{"--grid", "0x8"}, cell},
      {{"--grid", "8x0"}, cell},
      {{"--grid", "8"}, cell},
      {{"--grid", "8x8", "--grid-origin", "1"},
       "Invalid Grid Origin Value: the first cell's left and top pixel, as in 0,0\n"},
      {{"--grid", "8x8", "--grid-gap=1,-1"},
       "Invalid Grid Gap Value: the pixels between cells across and down, as in 1,1\n"},
      {{"--charset", "ebcdic"}, charset},
      {{"--list", "--charset", "ASCII"}, charset},
  };
  for (const auto& [options, message] : cases) {
    const ProgramRun result = run(options);
    EXPECT_EQ(result.exit_status, 1) << message;
    EXPECT_EQ(result.output, message);
    EXPECT_TRUE(only_the_picture());
  }
}

TEST_F(SheetRuns, OptionsThatDoNotGoTogetherAreRefusedWithTheUsage) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--grid", "8x8", "--rows", "2"},
       "A grid's rows are those of its cells: give --grid or --rows, not both:\n--rows\n"},
      {{"--grid", "8x8", "--marks"},
       "Give the layout with --grid or --marks, not both:\n--marks\n"},
      {{"--grid-origin", "0,0"}, "This option goes with --grid only:\n--grid-origin\n"},
      {{"--marks", "--grid-gap", "1,1"}, "This option goes with --grid only:\n--grid-gap\n"},
      {{"--rows", "2", "--proportional"}, "This option goes with --grid only:\n--proportional\n"},
      {{"--charset", "cp437", "--chars", "ab"},
       "Give the characters with --charset or with a character list, not both:\n--charset\n"},
  };
  for (const auto& [options, message] : cases) {
    const ProgramRun result = run(options);
    EXPECT_EQ(result.exit_status, 1) << message;
    EXPECT_EQ(result.output.substr(0, message.size() + 7), "Error:\n" + message);
    EXPECT_NE(result.output.find("\nUsage: cvellicor.exe"), std::string::npos);
    EXPECT_TRUE(only_the_picture());
  }
}

TEST_F(SheetRuns, HelpNamesThem) {
  const ProgramRun result = run_program(binary_dir() / "cvellicor", {"--help"}, dir_.path());
  EXPECT_EQ(result.exit_status, 0);
  for (const char* option : {" --rows N ", " --marks ", " --grid WxH ", " --grid-origin X,Y ",
                             " --grid-gap X,Y ", " --proportional ", " --charset NAME "}) {
    EXPECT_NE(result.output.find(std::string("\n") + option), std::string::npos) << option;
  }
}

}  // namespace
}  // namespace vellicor::test
