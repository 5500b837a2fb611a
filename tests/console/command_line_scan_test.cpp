// The one walk over a command line with long options: where each argument
// goes, which option takes which value, and the problems it meets, checked
// against the plain command line's walk where the two must agree.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "console/long_options.hpp"
#include "tests/console/argument_list.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor::console {
namespace {

struct Scanned {
  // The scan's texts point into the arguments, which live as long as it.
  std::unique_ptr<ArgumentList> arguments;
  LongOptionScan scan;
  LongOptions options;
  std::vector<std::string> rest;  // without the program name
};

Scanned scan(const std::vector<std::string>& arguments) {
  Scanned result;
  result.arguments = std::make_unique<ArgumentList>(arguments);
  std::vector<char*> rest;
  result.scan = scan_command_line(result.arguments->line(), result.options, rest);
  for (std::size_t index = 1; index < rest.size(); ++index) result.rest.emplace_back(rest[index]);
  return result;
}

std::string text_of(const char* text) { return text == nullptr ? "(null)" : text; }

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += "[" + word + "]";
  return text;
}

struct RefusalCase {
  std::vector<std::string> arguments;
  ConsoleMessage problem;
  std::string shown;
};

void PrintTo(const RefusalCase& row, std::ostream* out) { test::print_label(out, row.arguments); }

class ScanRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ScanRefusal, StopsAtTheFirstProblem) {
  const Scanned result = scan(GetParam().arguments);
  EXPECT_FALSE(result.scan.ok);
  EXPECT_EQ(result.scan.problem, GetParam().problem);
  EXPECT_EQ(text_of(result.scan.shown), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScanRefusal,
    ::testing::Values(
        // The picture is the last argument, with long options as without.
        RefusalCase{{"strip.bmp", "--ink", "dark"}, ConsoleMessage::kUnexpectedOption, "strip.bmp"},
        RefusalCase{{"strip.bmp", "--list"}, ConsoleMessage::kUnexpectedOption, "strip.bmp"},
        RefusalCase{{"--list"}, ConsoleMessage::kNoFileName, "--list"},
        RefusalCase{{"-v", "3", "--list"}, ConsoleMessage::kNoFileName, "--list"},
        // A value that begins with a dash is an option of its own.
        RefusalCase{
            {"--chars", "-x", "strip.bmp"}, ConsoleMessage::kLongOptionNeedsValue, "--chars"},
        RefusalCase{
            {"--ink", "--list", "strip.bmp"}, ConsoleMessage::kLongOptionNeedsValue, "--ink"},
        RefusalCase{{"-v", "3", "--chars"}, ConsoleMessage::kLongOptionNeedsValue, "--chars"},
        // An option that takes the picture as its value leaves none.
        RefusalCase{{"--chars", "abcd"}, ConsoleMessage::kNoFileName, "--chars"},
        RefusalCase{{"--list", "-v", "strip.bmp"}, ConsoleMessage::kNoFileName, "-v"},
        // A short option's missing value does not make a long option one.
        RefusalCase{
            {"-f", "--list", "Name", "strip.bmp"}, ConsoleMessage::kUnexpectedOption, "Name"},
        RefusalCase{{"--list", "-x", "strip.bmp"}, ConsoleMessage::kUnexpectedOption, "x"},
        RefusalCase{
            {"--list=yes", "strip.bmp"}, ConsoleMessage::kLongOptionTakesNoValue, "--list=yes"},
        RefusalCase{{"--ink", "dark", "--ink=auto", "strip.bmp"},
                    ConsoleMessage::kLongOptionTwice,
                    "--ink=auto"},
        RefusalCase{{"--chars", "a", "--chars-file", "x", "strip.bmp"},
                    ConsoleMessage::kCharsTwoSources,
                    "--chars-file"},
        RefusalCase{{"--list", "-strip.bmp"}, ConsoleMessage::kNoFileName, "-strip.bmp"}));

TEST(ScanCommandLine, ShortAndLongOptionsShareOneWalk) {
  // -v has no value before a long option, as before a short one.
  Scanned result = scan({"-v", "--list", "strip.bmp"});
  ASSERT_TRUE(result.scan.ok) << text_of(result.scan.shown);
  EXPECT_TRUE(result.options.list);
  EXPECT_EQ(result.rest, (std::vector<std::string>{"-v", "strip.bmp"}));

  result = scan({"--list", "-v", "65", "--ink", "dark", "-w", "--chars=-x", "-f", "F", "s.bmp"});
  ASSERT_TRUE(result.scan.ok) << text_of(result.scan.shown);
  EXPECT_EQ(text_of(result.options.ink), "dark");
  EXPECT_EQ(text_of(result.options.chars), "-x");
  EXPECT_EQ(result.rest, (std::vector<std::string>{"-v", "65", "-w", "-f", "F", "s.bmp"}));

  // -w may stand right before the picture, which stays the picture.
  result = scan({"--chars", "ab", "-w", "strip.bmp"});
  ASSERT_TRUE(result.scan.ok);
  EXPECT_EQ(text_of(result.options.chars), "ab");
  EXPECT_EQ(result.rest, (std::vector<std::string>{"-w", "strip.bmp"}));

  // Help and version need no picture.
  result = scan({"--help"});
  EXPECT_TRUE(result.scan.ok);
  EXPECT_TRUE(result.options.help);
  result = scan({"-v", "1", "--version"});
  EXPECT_TRUE(result.scan.ok);
  EXPECT_TRUE(result.options.version);
}

// Any plain command line with a long flag in front is judged as the plain
// walk judges it: same problem, same argument shown, the same short options.
TEST(ScanCommandLine, AgreesWithThePlainWalkOnEveryPlainLine) {
  const std::vector<std::vector<std::string>> lines = {
      {"strip.bmp"},
      {"-w", "strip.bmp"},
      {"-w"},
      {"-f", "strip.bmp"},
      {"-v", "1", "-o", "strip.bmp"},
      {"-x", "strip.bmp"},
      {"-", "strip.bmp"},
      {"name", "strip.bmp"},
      {"  name", "strip.bmp"},
      {"-v", "-5", "strip.bmp"},
      {"-v", "1", "2", "strip.bmp"},
      {"  -v", "7", "strip.bmp"},
      {"-F", "My Font", "-V", "0x41", "strip.bmp"},
      {"-f", "-w", "strip.bmp"},
      {"-strip.bmp"},
      {"-d", " -3", "strip.bmp"},
  };
  for (const std::vector<std::string>& plain : lines) {
    ArgumentList plain_list(plain);
    const ShapeCheck shape = check_shape(plain_list.line());
    std::vector<std::string> with_flag = plain;
    with_flag.insert(with_flag.begin(), "--list");
    const Scanned result = scan(with_flag);
    const std::string label = joined(plain);
    if (shape.problem == ShapeProblem::kNone) {
      EXPECT_TRUE(result.scan.ok) << label;
      EXPECT_EQ(result.rest, plain) << label;
      continue;
    }
    ASSERT_FALSE(result.scan.ok) << label;
    const ConsoleMessage expected = shape.problem == ShapeProblem::kMissingFileName
                                        ? ConsoleMessage::kNoFileName
                                        : ConsoleMessage::kUnexpectedOption;
    EXPECT_EQ(result.scan.problem, expected) << label;
    EXPECT_EQ(text_of(result.scan.shown), text_of(shape.shown)) << label;
  }
}

}  // namespace
}  // namespace vellicor::console
