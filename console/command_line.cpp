// Option recognition and the command-line shape check of cvellicor.
#include "console/command_line.hpp"

#include <cctype>

namespace vellicor::console {
namespace {

// Only the space character counts as a blank on the command line.
const char* skip_blanks(const char* argument) {
  while (*argument == ' ') ++argument;
  return argument;
}

char to_upper(char letter) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

// Whether the argument after index is this option's value: it exists below
// end and is not itself an option. Unlike takes_value, the file name is never
// a value here.
bool value_follows(const CommandLine& line, int index, int end) {
  return index + 1 < end && !begins_with_dash(line.arguments[index + 1]);
}

}  // namespace

bool begins_with_dash(const char* argument) { return *skip_blanks(argument) == '-'; }

bool first_char_is_dash(const char* argument) { return argument[0] == '-'; }

const char* option_letter_text(const char* argument) { return skip_blanks(argument) + 1; }

bool is_option_letter(char letter) {
  if (letter == '\0') return false;
  for (const char option : kOptionLetters) {
    if (option != '\0' && (letter == option || letter == to_upper(option))) return true;
  }
  return false;
}

OptionSearch find_option(const CommandLine& line, char letter, int* index) {
  const int end = line.count - 1;  // the file name's index; never an option
  if (end <= 1) return OptionSearch::kNotFound;
  int position = 1;
  while (position < end) {
    const char* argument = line.arguments[position];
    if (!begins_with_dash(argument)) return OptionSearch::kNotAnOption;
    const char found = *option_letter_text(argument);
    if (found == letter || found == to_upper(letter)) {
      *index = value_follows(line, position, end) ? position + 1 : position;
      return OptionSearch::kFound;
    }
    position += value_follows(line, position, end) ? 2 : 1;
  }
  return OptionSearch::kNotFound;
}

ShapeCheck check_option_argument(const char* argument) {
  if (!begins_with_dash(argument)) return {ShapeProblem::kNotAnOption, skip_blanks(argument)};
  const char* letter = option_letter_text(argument);
  if (!is_option_letter(*letter)) return {ShapeProblem::kUnknownOption, letter};
  return {ShapeProblem::kNone, nullptr};
}

bool takes_value(const CommandLine& line, int position) {
  return value_follows(line, position, line.count);
}

ShapeCheck check_file_name(const char* file_name) {
  if (first_char_is_dash(file_name)) return {ShapeProblem::kMissingFileName, file_name};
  return {ShapeProblem::kNone, nullptr};
}

bool option_wants_file_name(const char* before) {
  return first_char_is_dash(before) && before[1] != 'w' && before[1] != 'W';
}

ShapeCheck check_shape(const CommandLine& line) {
  if (line.count < 2) return {ShapeProblem::kNoArguments, nullptr};
  const int last = line.count - 1;
  int position = 1;
  while (position < last) {
    const ShapeCheck option = check_option_argument(line.arguments[position]);
    if (option.problem != ShapeProblem::kNone) return option;
    // Unlike find_option, this walk may take the last argument as a value;
    // the checks below then find the file name missing.
    position += takes_value(line, position) ? 2 : 1;
  }
  const ShapeCheck file_name = check_file_name(line.arguments[last]);
  if (file_name.problem != ShapeProblem::kNone) return file_name;
  // With a single argument the one before it is the program itself.
  const char* before = line.arguments[last - 1];
  if (option_wants_file_name(before)) return {ShapeProblem::kMissingFileName, before};
  return {ShapeProblem::kNone, nullptr};
}

}  // namespace vellicor::console
