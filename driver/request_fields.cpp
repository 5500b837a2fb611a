// The numeric field table, the blank advance and the font name rule.
#include "driver/request_fields.hpp"

#include <iterator>

#include "driver/conversion_driver.hpp"
#include "vellicor/internal/request_limits.hpp"

namespace vellicor {
namespace {

constexpr std::uint32_t kMaxByteOption = 0xFF;
constexpr std::uint32_t kMaxFirstGlyph = 0xFFFF;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

constexpr NumericField kNumericFields[] = {
    {FieldAllowedBlankColumns, kMaxByteOption, Message::kInvalidAllowedBlank,
     [](ConversionOptions& options, std::uint32_t value) {
       options.allowed_blank_columns = static_cast<std::uint8_t>(value);
     }},
    {FieldFirstGlyph, kMaxFirstGlyph, Message::kInvalidFirstGlyph,
     [](ConversionOptions& options, std::uint32_t value) {
       options.first_glyph = static_cast<std::uint16_t>(value);
     }},
    {FieldDescent, kMaxByteOption, Message::kInvalidDescent,
     [](ConversionOptions& options, std::uint32_t value) {
       options.descent = static_cast<std::uint8_t>(value);
     }},
    {FieldUpperBlank, kMaxByteOption, Message::kInvalidUpperBlank,
     [](ConversionOptions& options, std::uint32_t value) {
       options.upper_blank = static_cast<std::uint8_t>(value);
     }},
    {FieldLeadingBlank, kMaxByteOption, Message::kInvalidLeadingBlank,
     [](ConversionOptions& options, std::uint32_t value) {
       options.leading_blank = static_cast<std::uint8_t>(value);
     }},
    {FieldTrailingBlank, kMaxByteOption, Message::kInvalidTrailingBlank,
     [](ConversionOptions& options, std::uint32_t value) {
       options.trailing_blank = static_cast<std::uint8_t>(value);
     }},
    {FieldLowerBlank, kMaxByteOption, Message::kInvalidLowerBlank,
     [](ConversionOptions& options, std::uint32_t value) {
       options.lower_blank = static_cast<std::uint8_t>(value);
     }},
};

}  // namespace

std::span<const NumericField> numeric_fields() { return kNumericFields; }

ResultCode read_numeric_field(const NumericField& field, const char* text,
                              ConversionOptions& options) {
  std::uint32_t value = 0;
  if (failed(parse_number(text, &value)) || value > field.limit) return ResultCode::kBadArgument;
  field.store(options, value);
  return ResultCode::kOk;
}

ResultCode read_blank_advance(const char* text, std::uint32_t& advance) {
  std::uint32_t value = 0;
  if (failed(parse_number(text, &value)) || value == 0 || value > kMostBlankAdvance) {
    return ResultCode::kBadArgument;
  }
  advance = value;
  return ResultCode::kOk;
}

bool is_usable_font_name(const char* name) {
  for (const char* cursor = name; *cursor != '\0'; ++cursor) {
    const auto byte = static_cast<unsigned char>(*cursor);
    if (byte < kFirstPrintable || byte == kDelete) return false;
  }
  return true;
}

}  // namespace vellicor
