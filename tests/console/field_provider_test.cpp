// The console's get_field: what each field answers from the arguments.
#include "console/field_provider.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "console/command_line.hpp"
#include "tests/console/argument_list.hpp"

namespace vellicor::console {
namespace {

constexpr std::uint32_t kFieldSize = 260;

struct Answer {
  FieldAnswer result;
  std::string text;
};

// An absolute path as the console answers it: unchanged on POSIX systems; on
// Windows on the current directory's drive, with backslashes.
std::string rooted(std::string path) {
#ifdef _WIN32
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return std::filesystem::current_path().root_name().string() + path;
#else
  return path;
#endif
}

Answer ask(ArgumentList& arguments, FieldId id, std::uint32_t size = kFieldSize) {
  std::string buffer(size, '\x01');
  const FieldAnswer result = get_console_field(arguments.context(), id, buffer.data(), size);
  return Answer{result, buffer.c_str()};
}

TEST(ConsoleField, AnswersEveryLetterFromItsOption) {
  ArgumentList arguments({"-f", "My Font", "-v", "0x41", "-a", "1", "-d", "2", "-u", "3", "-b", "4",
                          "-l", "5", "-r", "6", "-w", "/fonts/strip.bmp"});
  EXPECT_EQ(ask(arguments, FieldFontName).text, "My Font");
  EXPECT_EQ(ask(arguments, FieldFirstGlyph).text, "0x41");
  EXPECT_EQ(ask(arguments, FieldAllowedBlankColumns).text, "1");
  EXPECT_EQ(ask(arguments, FieldDescent).text, "2");
  EXPECT_EQ(ask(arguments, FieldUpperBlank).text, "3");
  EXPECT_EQ(ask(arguments, FieldLowerBlank).text, "4");
  EXPECT_EQ(ask(arguments, FieldLeadingBlank).text, "5");
  EXPECT_EQ(ask(arguments, FieldTrailingBlank).text, "6");
  EXPECT_EQ(ask(arguments, FieldFixedWidth).text, "1");
  EXPECT_EQ(ask(arguments, FieldInputPath).text, rooted("/fonts/strip.bmp"));
  EXPECT_EQ(ask(arguments, FieldOutputPath).result, FieldAnswer::kNotSupplied);
}

TEST(ConsoleField, OptionStandingAloneAnswersZeroOrOneForW) {
  ArgumentList arguments({"-o", "-f", "-w", "/fonts/strip.bmp"});
  EXPECT_EQ(ask(arguments, FieldOutputPath).text, "0");
  EXPECT_EQ(ask(arguments, FieldFontName).text, "0");
  EXPECT_EQ(ask(arguments, FieldFixedWidth).text, "1");
}

TEST(ConsoleField, OutputPathIsMadeAbsolute) {
  ArgumentList arguments({"-o", "/out/./x/../font.bdf", "strip.bmp"});
  EXPECT_EQ(ask(arguments, FieldOutputPath).text, rooted("/out/font.bdf"));
  ArgumentList relative({"-o", "font.bdf", "strip.bmp"});
  EXPECT_EQ(ask(relative, FieldOutputPath).text,
            (std::filesystem::current_path() / "font.bdf").string());
}

TEST(ConsoleField, RefusesValuesThatDoNotFit) {
  const std::string long_value(kFieldSize, 'n');
  ArgumentList arguments({"-f", long_value, "-o", "/" + long_value, "/" + long_value});
  const Answer font = ask(arguments, FieldFontName);
  EXPECT_EQ(font.result, FieldAnswer::kTextTooLong);
  EXPECT_EQ(font.text, "");  // the buffer was cleared first
  EXPECT_EQ(ask(arguments, FieldOutputPath).result, FieldAnswer::kTextTooLong);
  EXPECT_EQ(ask(arguments, FieldInputPath).result, FieldAnswer::kTextTooLong);
  ArgumentList fits({"-f", long_value.substr(1), "strip.bmp"});
  EXPECT_EQ(ask(fits, FieldFontName).text, long_value.substr(1));
}

TEST(ConsoleField, RefusesBadCallsAndUnknownFields) {
  ArgumentList arguments({"-f", "x", "strip.bmp"});
  char buffer[kFieldSize];
  EXPECT_EQ(get_console_field(nullptr, FieldFontName, buffer, kFieldSize),
            FieldAnswer::kBadRequest);
  EXPECT_EQ(get_console_field(arguments.context(), FieldFontName, nullptr, kFieldSize),
            FieldAnswer::kBadRequest);
  buffer[0] = 'k';
  EXPECT_EQ(get_console_field(arguments.context(), FieldFontName, buffer, 1),
            FieldAnswer::kBadRequest);
  EXPECT_EQ(buffer[0], 'k');
  EXPECT_EQ(ask(arguments, static_cast<FieldId>(1001)).result, FieldAnswer::kUnknownField);
  EXPECT_EQ(ask(arguments, static_cast<FieldId>(1008)).result, FieldAnswer::kUnknownField);
  EXPECT_EQ(ask(arguments, FieldFontName, 2).result, FieldAnswer::kSupplied);
  EXPECT_EQ(ask(arguments, FieldFontName, 2).text, "x");
}

TEST(ConsoleField, NonOptionInOptionPositionSuppliesNothing) {
  ArgumentList arguments({"name", "-v", "3", "strip.bmp"});
  EXPECT_EQ(ask(arguments, FieldFirstGlyph).result, FieldAnswer::kNotSupplied);
}

}  // namespace
}  // namespace vellicor::console
