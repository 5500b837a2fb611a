// Recognising the long options and taking them out of the command line.
#include "console/long_options.hpp"

#include <string_view>

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

}  // namespace

bool is_long_option(const char* argument) { return row_named_by(argument) != nullptr; }

LongOptionScan scan_long_options(const CommandLine& line, LongOptions& options,
                                 std::vector<char*>& rest) {
  options = LongOptions{};
  rest.clear();
  if (line.count > 0) rest.push_back(line.arguments[0]);
  for (int index = 1; index < line.count; ++index) {
    char* argument = line.arguments[index];
    const LongOptionRow* row = row_named_by(argument);
    if (row == nullptr) {
      rest.push_back(argument);
      continue;
    }
    const std::size_t equals = std::string_view(argument + 2).find('=');
    if (row->kind == Kind::kFlag) {
      if (equals != std::string_view::npos)
        return problem(ConsoleMessage::kLongOptionTakesNoValue, argument);
      if (options.*(row->flag)) return problem(ConsoleMessage::kLongOptionTwice, argument);
      options.*(row->flag) = true;
      continue;
    }
    if (options.*(row->value) != nullptr)
      return problem(ConsoleMessage::kLongOptionTwice, argument);
    const char* value = nullptr;
    if (equals != std::string_view::npos) {
      value = argument + 2 + equals + 1;
    } else if (index + 1 < line.count) {
      value = line.arguments[++index];
    } else {
      return problem(ConsoleMessage::kLongOptionNeedsValue, argument);
    }
    options.*(row->value) = value;
  }
  if (options.chars != nullptr && options.chars_file != nullptr) {
    return problem(ConsoleMessage::kCharsTwoSources, "--chars-file");
  }
  return LongOptionScan{};
}

}  // namespace vellicor::console
