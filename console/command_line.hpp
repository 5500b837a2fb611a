// The shape of cvellicor's command line: options, their values, the file name.
#pragma once

#include <cstddef>

namespace vellicor::console {

// The argument list as the start-up code split it; the last argument is
// always the bitmap file name.
struct CommandLine {
  int count;
  char** arguments;
};

// The ten option letters, each also recognised in upper case.
inline constexpr char kOptionLetters[] = "ofvadwublr";

// An option is an argument that begins with '-' once its leading blanks
// (spaces only) are skipped; only the character after the '-' counts.
bool begins_with_dash(const char* argument);
// The stricter test used on the file-name end of the line and on option
// values: the very first character is '-'.
bool first_char_is_dash(const char* argument);
// The text after the option's '-' (leading blanks skipped); argument must
// begin with a dash in the sense of begins_with_dash.
const char* option_letter_text(const char* argument);
// Whether letter is one of kOptionLetters, in either case. NUL is no letter.
bool is_option_letter(char letter);

// How a search for one option ended.
// clang-format 14 takes an attribute before an enum's name for a brace list.
// clang-format off
enum class [[nodiscard]] OptionSearch {
  kFound,
  kNotAnOption,  // the walk met an option position holding a non-option
  kNotFound,
};
// clang-format on

// Finds the first option with letter (lower case) and stores the index of
// the argument holding its value, or of the option itself when it stands
// alone. index is written only when the option is found.
OptionSearch find_option(const CommandLine& line, char letter, int* index);

// What is wrong with the shape of a command line, if anything.
enum class ShapeProblem {
  kNone,
  kNoArguments,      // nothing after the program name
  kNotAnOption,      // an option position holds an argument without '-'
  kUnknownOption,    // an option letter outside kOptionLetters
  kMissingFileName,  // the last argument is an option, or some option's value
};

struct ShapeCheck {
  ShapeProblem problem;
  const char* shown;  // the text printed after the problem's message; null for none
};

// Walks the arguments the way the program validates them before converting.
ShapeCheck check_shape(const CommandLine& line);

// The pieces of that walk, for a walk that also meets long options.
// An argument at an option position: kNone, kNotAnOption or kUnknownOption.
ShapeCheck check_option_argument(const char* argument);
// Whether the option at position takes the next argument as its value: there
// is one (the last argument included) and it does not begin with a dash.
bool takes_value(const CommandLine& line, int position);
// The last argument: kMissingFileName when it begins with '-'.
ShapeCheck check_file_name(const char* file_name);
// Whether before, standing right before the file name, is an option that took
// the file name as its value: any option but -w, which makes sense without one.
bool option_wants_file_name(const char* before);

}  // namespace vellicor::console
