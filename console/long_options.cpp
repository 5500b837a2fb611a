// Recognising the long options and taking them out of the command line.
#include "console/long_options.hpp"

#include <string_view>

#include "console/command_line.hpp"

namespace vellicor::console {
namespace {

enum class Kind { kFlag, kValue };

struct LongOptionRow {
  std::string_view name;  // without the leading "--"
  Kind kind;
  bool LongOptions::*flag;
  const char* LongOptions::*value;
};

constexpr LongOptionRow kLongOptions[] = {
    {"help", Kind::kFlag, &LongOptions::help, nullptr},
    {"version", Kind::kFlag, &LongOptions::version, nullptr},
    {"list", Kind::kFlag, &LongOptions::list, nullptr},
    {"chars", Kind::kValue, nullptr, &LongOptions::chars},
    {"chars-file", Kind::kValue, nullptr, &LongOptions::chars_file},
    {"blank-advance", Kind::kValue, nullptr, &LongOptions::blank_advance},
    {"ink", Kind::kValue, nullptr, &LongOptions::ink},
    {"rows", Kind::kValue, nullptr, &LongOptions::rows},
    {"grid", Kind::kValue, nullptr, &LongOptions::grid},
    {"grid-origin", Kind::kValue, nullptr, &LongOptions::grid_origin},
    {"grid-gap", Kind::kValue, nullptr, &LongOptions::grid_gap},
    {"proportional", Kind::kFlag, &LongOptions::proportional, nullptr},
    {"marks", Kind::kFlag, &LongOptions::marks, nullptr},
    {"charset", Kind::kValue, nullptr, &LongOptions::charset},
    {"format", Kind::kValue, nullptr, &LongOptions::format},
};

const LongOptionRow* find_row(std::string_view name) {
  for (const LongOptionRow& row : kLongOptions) {
    if (row.name == name) return &row;
  }
  return nullptr;
}

// The row an argument names: "--name" or "--name=...", or null.
const LongOptionRow* row_named_by(const char* argument) {
  if (argument[0] != '-' || argument[1] != '-') return nullptr;
  const std::string_view text(argument + 2);
  return find_row(text.substr(0, text.find('=')));
}

LongOptionScan problem(ConsoleMessage message, const char* shown) {
  return LongOptionScan{false, message, shown};
}

LongOptionScan shape_problem(const ShapeCheck& shape) {
  const ConsoleMessage message = shape.problem == ShapeProblem::kMissingFileName
                                     ? ConsoleMessage::kNoFileName
                                     : ConsoleMessage::kUnexpectedOption;
  return problem(message, shape.shown);
}

// Takes the long option at position into options, its value included, and
// moves position past what it used. A value follows after '=' or as the next
// argument, unless that argument begins with a dash (it is then an option of
// its own, of either kind).
LongOptionScan take_long_option(const LongOptionRow& row, const CommandLine& line, int& position,
                                LongOptions& options) {
  const char* argument = line.arguments[position++];
  const std::size_t equals = std::string_view(argument + 2).find('=');
  if (row.kind == Kind::kFlag) {
    if (equals != std::string_view::npos)
      return problem(ConsoleMessage::kLongOptionTakesNoValue, argument);
    if (options.*(row.flag)) return problem(ConsoleMessage::kLongOptionTwice, argument);
    options.*(row.flag) = true;
    return LongOptionScan{};
  }
  if (options.*(row.value) != nullptr) return problem(ConsoleMessage::kLongOptionTwice, argument);
  if (equals != std::string_view::npos) {
    options.*(row.value) = argument + 2 + equals + 1;
  } else if (takes_value(line, position - 1)) {
    options.*(row.value) = line.arguments[position++];
  } else {
    return problem(ConsoleMessage::kLongOptionNeedsValue, argument);
  }
  return LongOptionScan{};
}

// The first pair of options that do not go together, by the option refused.
LongOptionScan check_combinations(const LongOptions& options) {
  if (options.chars != nullptr && options.chars_file != nullptr) {
    return problem(ConsoleMessage::kCharsTwoSources, "--chars-file");
  }
  if (options.charset != nullptr && (options.chars != nullptr || options.chars_file != nullptr)) {
    return problem(ConsoleMessage::kCharsetWithList, "--charset");
  }
  if (options.grid != nullptr) {
    // A grid's rows are those of its cells, and its cells carry their advances.
    if (options.rows != nullptr) return problem(ConsoleMessage::kGridWithRows, "--rows");
    if (options.marks) return problem(ConsoleMessage::kGridWithMarks, "--marks");
    return LongOptionScan{};
  }
  if (options.grid_origin != nullptr)
    return problem(ConsoleMessage::kOnlyWithGrid, "--grid-origin");
  if (options.grid_gap != nullptr) return problem(ConsoleMessage::kOnlyWithGrid, "--grid-gap");
  if (options.proportional) return problem(ConsoleMessage::kOnlyWithGrid, "--proportional");
  return LongOptionScan{};
}

// Whether the argument is a long option whose value is the next argument.
bool wants_next_argument(const char* argument) {
  const LongOptionRow* row = row_named_by(argument);
  return row != nullptr && row->kind == Kind::kValue &&
         std::string_view(argument).find('=') == std::string_view::npos;
}

}  // namespace

bool is_long_option(const char* argument) { return row_named_by(argument) != nullptr; }

LongOptionScan scan_command_line(const CommandLine& line, LongOptions& options,
                                 std::vector<char*>& rest) {
  options = LongOptions{};
  rest.clear();
  if (line.count < 2) return problem(ConsoleMessage::kNoFileName, "");
  rest.push_back(line.arguments[0]);
  const int last = line.count - 1;
  // A long option in the last place is read too, so that "--help" alone
  // works; it is then no picture.
  const int end = is_long_option(line.arguments[last]) ? line.count : last;
  int position = 1;
  while (position < end) {
    const LongOptionRow* row = row_named_by(line.arguments[position]);
    if (row != nullptr) {
      const LongOptionScan taken = take_long_option(*row, line, position, options);
      if (!taken.ok) return taken;
      continue;
    }
    const ShapeCheck option = check_option_argument(line.arguments[position]);
    if (option.problem != ShapeProblem::kNone) return shape_problem(option);
    // -w may take the picture as its value; the picture joins rest last.
    const int used = takes_value(line, position) ? 2 : 1;
    for (int index = position; index < position + used && index < last; ++index) {
      rest.push_back(line.arguments[index]);
    }
    position += used;
  }
  const LongOptionScan combined = check_combinations(options);
  if (!combined.ok) return combined;
  if (options.help || options.version) return LongOptionScan{};

  const char* file_name = line.arguments[last];
  if (end == line.count) return problem(ConsoleMessage::kNoFileName, file_name);
  const ShapeCheck checked = check_file_name(file_name);
  if (checked.problem != ShapeProblem::kNone) return shape_problem(checked);
  // An option right before the picture that took it as its value.
  const char* before = line.arguments[last - 1];
  const bool took_picture =
      is_long_option(before) ? wants_next_argument(before) : option_wants_file_name(before);
  if (took_picture) return problem(ConsoleMessage::kNoFileName, before);
  rest.push_back(line.arguments[last]);
  return LongOptionScan{};
}

}  // namespace vellicor::console
