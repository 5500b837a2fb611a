// Field texts to numbers: plain decimal, or hexadecimal after "0x" / "0X".
#include <cstdint>
#include <limits>

#include "driver/conversion_driver.hpp"

namespace vellicor {
namespace {

constexpr std::uint32_t kDecimalBase = 10;
constexpr std::uint32_t kHexBase = 16;
constexpr std::uint32_t kFirstHexLetterValue = 10;

// The value of one digit in base, or base itself when c is no such digit.
std::uint32_t digit_value(char c, std::uint32_t base) {
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
  if (base == kHexBase) {
    if (c >= 'a' && c <= 'f') return kFirstHexLetterValue + static_cast<std::uint32_t>(c - 'a');
    if (c >= 'A' && c <= 'F') return kFirstHexLetterValue + static_cast<std::uint32_t>(c - 'A');
  }
  return base;
}

bool has_hex_prefix(const char* text) {
  return text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

ResultCode parse_number(const char* text, std::uint32_t* number) {
  if (text == nullptr || number == nullptr) return ResultCode::kUnusableInput;
  const std::uint32_t base = has_hex_prefix(text) ? kHexBase : kDecimalBase;
  const char* digits = base == kHexBase ? text + 2 : text;

  // Nothing after the prefix, and the empty text, both read as 0.
  std::uint32_t value = 0;
  for (const char* cursor = digits; *cursor != '\0'; ++cursor) {
    const std::uint32_t digit = digit_value(*cursor, base);
    if (digit == base) return ResultCode::kUnusableInput;
    // A value past 32 bits is refused rather than wrapped: '4294967296' must
    // not pass as 0.
    if (value > (std::numeric_limits<std::uint32_t>::max() - digit) / base) {
      return ResultCode::kUnusableInput;
    }
    value = value * base + digit;
  }
  *number = value;
  return ResultCode::kOk;
}

}  // namespace vellicor
