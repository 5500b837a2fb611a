// Text formatting for the font file.
#include "engine/font/text_sink.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vellicor {

namespace {

// Enough for any 64-bit decimal number with its sign.
constexpr std::size_t kNumberDigits = 24;
constexpr int kDecimal = 10;

}  // namespace

void TextSink::repeat(char character, std::uint64_t count) {
  while (count > 0 && ok()) {
    const auto room = static_cast<std::size_t>(std::min<std::uint64_t>(count, kMostReserved));
    char* const place = file_.reserve(room);
    if (place == nullptr) return;  // no buffer: the file failed to open
    std::memset(place, character, room);
    file_.advance(room);
    count -= room;
  }
}

void TextSink::number(std::int64_t value) {
  char digits[kNumberDigits];
  const auto end = std::to_chars(digits, digits + kNumberDigits, value, kDecimal).ptr;
  text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void TextSink::number(std::uint64_t value) {
  char digits[kNumberDigits];
  const auto end = std::to_chars(digits, digits + kNumberDigits, value, kDecimal).ptr;
  text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

}  // namespace vellicor
