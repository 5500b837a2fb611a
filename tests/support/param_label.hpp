// Short, printable names for the rows of parameterised tests. GoogleTest
// prints a row's bytes unless told otherwise, and CTest lists tests under
// that text; a row's own words read better and stay the same between runs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vellicor::test {

// Writes the words joined by '_', every byte but letters, digits, '-', '.'
// and '_' as '~' and two hex digits, so that no name holds blanks or control
// bytes and different rows keep different names. No words at all read "none".
inline void print_label(std::ostream* out, const std::vector<std::string>& words) {
  if (words.empty()) *out << "none";
  bool first = true;
  for (const std::string& word : words) {
    if (!first) *out << '_';
    first = false;
    for (const char c : word) {
      const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_';
      if (plain) {
        *out << c;
      } else {
        constexpr char kHexDigits[] = "0123456789ABCDEF";
        const auto byte = static_cast<unsigned char>(c);
        *out << '~' << kHexDigits[byte >> 4] << kHexDigits[byte & 0xF];
      }
    }
  }
}

}  // namespace vellicor::test
