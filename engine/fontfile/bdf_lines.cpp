// The text of a BDF file: lines, fields, numbers and bitmap rows.
#include "engine/fontfile/bdf_lines.hpp"

#include <algorithm>
#include <limits>

namespace vellicor {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kRemark = '#';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr std::uint32_t kBitsPerByte = 8;
constexpr std::uint32_t kBitsPerDigit = 4;
constexpr std::int64_t kDecimalBase = 10;
constexpr std::uint8_t kNoDigit = 0xFF;

bool is_blank(char character) { return character == ' ' || character == '\t'; }

std::string_view without_trailing_blanks(std::string_view text) {
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view without_leading_blanks(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  return text;
}

std::uint8_t hex_digit_value(char digit) {
  if (digit >= '0' && digit <= '9') return static_cast<std::uint8_t>(digit - '0');
  if (digit >= 'A' && digit <= 'F') return static_cast<std::uint8_t>(digit - 'A' + 10);
  if (digit >= 'a' && digit <= 'f') return static_cast<std::uint8_t>(digit - 'a' + 10);
  return kNoDigit;
}

}  // namespace

bool BdfLineReader::next(BdfLine& line) {
  while (at_ < text_.size()) {
    const std::size_t start = at_;
    std::size_t end = start;
    while (end < text_.size() && text_[end] != kLineFeed && text_[end] != kCarriageReturn) ++end;
    at_ = end;
    if (at_ < text_.size()) {
      const bool crlf =
          text_[at_] == kCarriageReturn && at_ + 1 < text_.size() && text_[at_ + 1] == kLineFeed;
      at_ += crlf ? 2 : 1;
    }
    ++line_number_;
    const std::string_view text = without_trailing_blanks(text_.substr(start, end - start));
    if (without_leading_blanks(text).empty() || text.front() == kRemark) continue;
    line.text = text;
    line.number = line_number_;
    return true;
  }
  return false;
}

std::string_view BdfFields::next() {
  rest_ = without_leading_blanks(rest_);
  std::size_t length = 0;
  while (length < rest_.size() && !is_blank(rest_[length])) ++length;
  const std::string_view field = rest_.substr(0, length);
  rest_.remove_prefix(length);
  return field;
}

std::string_view BdfFields::rest() const { return without_leading_blanks(rest_); }

bool holds_control_byte(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char character) {
    return static_cast<unsigned char>(character) < kFirstPrintable && character != '\t';
  });
}

bool parse_bdf_integer(std::string_view field, std::int64_t lowest, std::int64_t highest,
                       std::int64_t& value) {
  const bool negative = !field.empty() && field.front() == '-';
  if (negative) field.remove_prefix(1);
  if (field.empty()) return false;
  // Counted towards the limit of its sign, so no digit string wraps.
  const std::int64_t limit = negative ? -lowest : highest;
  if (limit < 0) return false;
  std::int64_t magnitude = 0;
  for (const char digit : field) {
    if (digit < '0' || digit > '9') return false;
    const std::int64_t digit_value = digit - '0';
    if (digit_value > limit || magnitude > (limit - digit_value) / kDecimalBase) return false;
    magnitude = magnitude * kDecimalBase + digit_value;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

bool decode_bdf_row(std::string_view hex, std::uint32_t width_px, std::uint32_t bits_per_pixel,
                    std::vector<std::uint8_t>& scratch, std::uint8_t* row) {
  const std::size_t out_bytes = (std::size_t{width_px} + kBitsPerByte - 1) / kBitsPerByte;
  const std::size_t packed_bytes =
      (std::size_t{width_px} * bits_per_pixel + kBitsPerByte - 1) / kBitsPerByte;
  std::uint8_t* const packed =
      bits_per_pixel == 1 ? row : (scratch.assign(packed_bytes, 0), scratch.data());
  std::fill(row, row + out_bytes, std::uint8_t{0});
  for (std::size_t index = 0; index < hex.size(); ++index) {
    const std::uint8_t digit = hex_digit_value(hex[index]);
    if (digit == kNoDigit) return false;
    if (index / 2 >= packed_bytes) continue;  // past the row: cut
    packed[index / 2] |= static_cast<std::uint8_t>(index % 2 == 0 ? digit << kBitsPerDigit : digit);
  }
  if (bits_per_pixel != 1) {
    const std::uint32_t level_mask = (1U << bits_per_pixel) - 1;
    for (std::uint32_t x = 0; x < width_px; ++x) {
      const std::size_t first_bit = std::size_t{x} * bits_per_pixel;
      const auto shift =
          static_cast<std::uint32_t>(kBitsPerByte - bits_per_pixel - first_bit % kBitsPerByte);
      if ((packed[first_bit / kBitsPerByte] >> shift & level_mask) != 0) {
        row[x / kBitsPerByte] |= static_cast<std::uint8_t>(0x80U >> (x % kBitsPerByte));
      }
    }
  }
  const std::uint32_t used_bits = width_px % kBitsPerByte;
  if (used_bits != 0) {
    row[out_bytes - 1] &= static_cast<std::uint8_t>(0xFFU << (kBitsPerByte - used_bits));
  }
  return true;
}

}  // namespace vellicor
