// Writing the character list of a drawing.
#include "engine/draw/drawn_list.hpp"

#include <algorithm>
#include <array>

#include "engine/font/character_list.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kLastC0Control = 0x1F;
constexpr std::uint32_t kDelete = 0x7F;
constexpr std::uint32_t kLastC1Control = 0x9F;
constexpr std::uint32_t kByteOrderMark = 0xFEFF;
constexpr std::uint32_t kBackslash = '\\';
constexpr std::uint32_t kHexDigitBits = 4;
constexpr std::uint32_t kHexDigitMask = 0xF;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// `\u{H}`, the hex digits without leading zeros.
void append_escape(std::string& text, std::uint32_t code_point) {
  std::array<char, 8> digits{};
  std::size_t count = 0;
  do {
    digits[count++] = kHexDigits[code_point & kHexDigitMask];
    code_point >>= kHexDigitBits;
  } while (code_point != 0);
  text += "\\u{";
  while (count != 0) text += digits[--count];
  text += '}';
}

}  // namespace

bool needs_list_escape(std::uint32_t code_point) {
  return code_point <= kLastC0Control || (code_point >= kDelete && code_point <= kLastC1Control) ||
         code_point == kByteOrderMark;
}

std::string drawn_list_text(const std::vector<std::uint32_t>& code_points,
                            std::size_t glyphs_per_line) {
  const bool escaped = std::any_of(code_points.begin(), code_points.end(), needs_list_escape);
  std::string text = escaped ? "\\escapes\n" : "";
  text.reserve(text.size() + code_points.size() * 4 + code_points.size() / 8 + 1);
  for (std::size_t place = 0; place < code_points.size(); ++place) {
    const std::uint32_t code_point = code_points[place];
    if (escaped && needs_list_escape(code_point)) {
      append_escape(text, code_point);
    } else if (escaped && code_point == kBackslash) {
      text += "\\\\";
    } else {
      char utf8[5] = {};
      text.append(utf8, encode_utf8(code_point, utf8));
    }
    const bool line_ends = glyphs_per_line != 0 && (place + 1) % glyphs_per_line == 0;
    if (line_ends || place + 1 == code_points.size()) text += '\n';
  }
  return text;
}

}  // namespace vellicor
