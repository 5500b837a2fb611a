// The command-line shape check and find_option.
#include "console/command_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/console/argument_list.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor::console {
namespace {

struct ShapeCase {
  std::vector<std::string> arguments;
  ShapeProblem problem;
  std::string shown;  // empty for none
};

void PrintTo(const ShapeCase& row, std::ostream* out) { test::print_label(out, row.arguments); }

class CommandLineShape : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(CommandLineShape, FindsTheFirstProblem) {
  ArgumentList arguments(GetParam().arguments);
  const ShapeCheck check = check_shape(arguments.line());
  EXPECT_EQ(check.problem, GetParam().problem);
  EXPECT_EQ(check.shown == nullptr ? std::string() : std::string(check.shown), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineShape,
    ::testing::Values(
        ShapeCase{{}, ShapeProblem::kNoArguments, ""},
        ShapeCase{{"strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-w", "strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-W", "strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-w"}, ShapeProblem::kMissingFileName, "-w"},
        ShapeCase{{"-f", "strip.bmp"}, ShapeProblem::kMissingFileName, "-f"},
        ShapeCase{{"-v", "1", "-o", "strip.bmp"}, ShapeProblem::kMissingFileName, "-o"},
        ShapeCase{{"-x", "strip.bmp"}, ShapeProblem::kUnknownOption, "x"},
        ShapeCase{{"-xyz", "strip.bmp"}, ShapeProblem::kUnknownOption, "xyz"},
        ShapeCase{{"-", "strip.bmp"}, ShapeProblem::kUnknownOption, ""},
        ShapeCase{{"name", "strip.bmp"}, ShapeProblem::kNotAnOption, "name"},
        ShapeCase{{"  name", "strip.bmp"}, ShapeProblem::kNotAnOption, "name"},
        ShapeCase{{"-v", "-5", "strip.bmp"}, ShapeProblem::kUnknownOption, "5"},
        ShapeCase{{"-v", "1", "2", "strip.bmp"}, ShapeProblem::kNotAnOption, "2"},
        ShapeCase{{"  -v", "7", "strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-vfoo", "7", "strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-F", "My Font", "-V", "0x41", "strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-v", "10", "-v", "20", "strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-f", "-w", "strip.bmp"}, ShapeProblem::kNone, ""},
        ShapeCase{{"-strip.bmp"}, ShapeProblem::kMissingFileName, "-strip.bmp"}));

struct FindCase {
  std::vector<std::string> arguments;
  char letter;
  OptionSearch result;
  int index;  // when found
};

void PrintTo(const FindCase& row, std::ostream* out) {
  std::vector<std::string> words = row.arguments;
  words.push_back(std::string("find-") + row.letter);
  test::print_label(out, words);
}

class FindOption : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindOption, GivesTheValuesIndex) {
  ArgumentList arguments(GetParam().arguments);
  constexpr int kUntouched = -99;
  int index = kUntouched;
  EXPECT_EQ(find_option(arguments.line(), GetParam().letter, &index), GetParam().result);
  EXPECT_EQ(index, GetParam().result == OptionSearch::kFound ? GetParam().index : kUntouched);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FindOption,
    ::testing::Values(FindCase{{"strip.bmp"}, 'v', OptionSearch::kNotFound, 0},
                      FindCase{{"-v", "7", "strip.bmp"}, 'v', OptionSearch::kFound, 2},
                      FindCase{{"-V", "7", "strip.bmp"}, 'v', OptionSearch::kFound, 2},
                      FindCase{{"-v", "7", "strip.bmp"}, 'f', OptionSearch::kNotFound, 0},
                      FindCase{{"-w", "strip.bmp"}, 'w', OptionSearch::kFound, 1},
                      FindCase{{"-o", "-w", "strip.bmp"}, 'o', OptionSearch::kFound, 1},
                      FindCase{{"-o", "-w", "strip.bmp"}, 'w', OptionSearch::kFound, 2},
                      FindCase{{"-v", "10", "-v", "20", "strip.bmp"}, 'v', OptionSearch::kFound, 2},
                      FindCase{{"-f", "x", "-d", "3", "strip.bmp"}, 'd', OptionSearch::kFound, 4},
                      FindCase{
                          {"name", "-d", "3", "strip.bmp"}, 'd', OptionSearch::kNotAnOption, 0},
                      FindCase{{"-dfoo", "3", "strip.bmp"}, 'd', OptionSearch::kFound, 2}));

TEST(OptionLetters, AcceptsTheTenLettersInBothCasesOnly) {
  for (const char letter : std::string("ofvadwublrOFVADWUBLR"))
    EXPECT_TRUE(is_option_letter(letter)) << letter;
  for (const char other : std::string("xzgq5- \0", 8)) {
    EXPECT_FALSE(is_option_letter(other)) << static_cast<int>(other);
  }
}

}  // namespace
}  // namespace vellicor::console
