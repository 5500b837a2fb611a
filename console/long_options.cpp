// Recognising the long options and reading the character list file.
#include "console/long_options.hpp"

#include <cstdio>
#include <cstring>
#include <memory>
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

LongOptionScan problem(Message message, const char* shown) {
  return LongOptionScan{false, message, shown};
}

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

bool is_long_option(const char* argument) { return argument[0] == '-' && argument[1] == '-'; }

LongOptionScan scan_long_options(const CommandLine& line, LongOptions& options,
                                 std::vector<char*>& rest) {
  options = LongOptions{};
  rest.clear();
  if (line.count > 0) rest.push_back(line.arguments[0]);
  for (int index = 1; index < line.count; ++index) {
    char* argument = line.arguments[index];
    if (!is_long_option(argument)) {
      rest.push_back(argument);
      continue;
    }
    options.any = true;
    const std::string_view text(argument + 2);
    const std::size_t equals = text.find('=');
    const LongOptionRow* row = find_row(text.substr(0, equals));
    if (row == nullptr) return problem(Message::kUnknownLongOption, argument);
    if (row->kind == Kind::kFlag) {
      if (equals != std::string_view::npos)
        return problem(Message::kLongOptionTakesNoValue, argument);
      if (options.*(row->flag)) return problem(Message::kLongOptionTwice, argument);
      options.*(row->flag) = true;
      continue;
    }
    if (options.*(row->value) != nullptr) return problem(Message::kLongOptionTwice, argument);
    const char* value = nullptr;
    if (equals != std::string_view::npos) {
      value = argument + 2 + equals + 1;
    } else if (index + 1 < line.count) {
      value = line.arguments[++index];
    } else {
      return problem(Message::kLongOptionNeedsValue, argument);
    }
    options.*(row->value) = value;
  }
  if (options.chars != nullptr && options.chars_file != nullptr) {
    return problem(Message::kCharsTwoSources, "--chars-file");
  }
  return LongOptionScan{};
}

bool read_chars_file(const char* path, std::string& text) {
  text.clear();
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), &std::fclose);
  if (!file) return false;
  char buffer[4096];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    for (std::size_t i = 0; i < count; ++i) {
      // A long list may be wrapped over many lines; the breaks are not characters.
      if (buffer[i] == '\n' || buffer[i] == '\r') continue;
      // A NUL byte would end the list early; as a byte that no UTF-8 text
      // holds it is refused as invalid, at its own offset.
      text.push_back(buffer[i] == '\0' ? static_cast<char>(0xFF) : buffer[i]);
    }
  }
  if (std::ferror(file.get()) != 0) return false;
  if (text.compare(0, std::strlen(kByteOrderMark), kByteOrderMark) == 0) {
    text.erase(0, std::strlen(kByteOrderMark));
  }
  return true;
}

}  // namespace vellicor::console
