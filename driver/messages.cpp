// The message table: one row per message, in the order of the Message enum.
#include "driver/messages.hpp"

#include <cstddef>
#include <iterator>

namespace vellicor {
namespace {

struct MessageRow {
  Message message;
  const char* text;
};

constexpr MessageRow kMessages[] = {
    {Message::kBadCallbackTable, "Bad input VTable"},
    {Message::kBadInputFileName, "Bad input file name"},
    {Message::kInputNameTooLong, "BMP file name exceeds max length"},
    {Message::kOutputNameTooLong, "BDF file name exceeds max length"},
    {Message::kInvalidAllowedBlank, "Invalid Blank Pixels Value"},
    {Message::kInvalidFirstGlyph, "Invalid 1st Glyph Value"},
    {Message::kInvalidDescent, "Invalid Descent Pixels Value"},
    {Message::kInvalidUpperBlank, "Invalid Upper Blank Value"},
    {Message::kInvalidLeadingBlank, "Invalid Leading Blank Value"},
    {Message::kInvalidTrailingBlank, "Invalid Trailing Blank Value"},
    {Message::kInvalidLowerBlank, "Invalid Lower Blank Value"},
    {Message::kInvalidFontName, "Invalid Font Name Value"},
    {Message::kInvalidInputFileType, "Invalid Input File Type"},
    {Message::kFileAccessFailed, "Error in File Access During Operation"},
    {Message::kFileNameTooLong, "File Name Length is too long"},
    {Message::kDataNotSupported, "File Data not supported at this time"},
    {Message::kUnusableContents, "Invalid or Unusable Input File Contents"},
    {Message::kOutOfMemory, "Out of memory for this operation"},
    {Message::kNoGlyphGenerated, "Failed to generate font from bitmap bits"},
    {Message::kConversionFailed, "Error converting BMP to BDF"},
    {Message::kErrorHeading, "Error:"},
    {Message::kUnexpectedOption, "Unexpected Option starting from here:"},
    {Message::kNoFileName, "No File Name Given Here:"},
};

// The rows are indexed by the enum's value; this keeps the two in step.
constexpr bool rows_follow_enum() {
  for (std::size_t index = 0; index < std::size(kMessages); ++index) {
    if (static_cast<std::size_t>(kMessages[index].message) != index) return false;
  }
  return true;
}
static_assert(rows_follow_enum(), "message rows must follow the Message enum order");
static_assert(std::size(kMessages) == static_cast<std::size_t>(Message::kNoFileName) + 1,
              "every message needs a row");

struct DetailRow {
  ErrorDetail detail;
  Message message;
};

constexpr DetailRow kDetailMessages[] = {
    {ErrorDetail::kNotBmp, Message::kInvalidInputFileType},
    {ErrorDetail::kFileAccess, Message::kFileAccessFailed},
    {ErrorDetail::kNameTooLong, Message::kFileNameTooLong},
    {ErrorDetail::kUnsupported, Message::kDataNotSupported},
    {ErrorDetail::kUnusableContent, Message::kUnusableContents},
    {ErrorDetail::kOutOfMemory, Message::kOutOfMemory},
    {ErrorDetail::kNoGlyph, Message::kNoGlyphGenerated},
};

}  // namespace

const char* message_text(Message message) {
  const auto index = static_cast<std::size_t>(message);
  if (index >= std::size(kMessages))
    return kMessages[static_cast<std::size_t>(Message::kConversionFailed)].text;
  return kMessages[index].text;
}

Message message_for_detail(ErrorDetail detail) {
  for (const DetailRow& row : kDetailMessages) {
    if (row.detail == detail) return row.message;
  }
  // A detail of 0, or one this table does not know, still gets a message.
  return Message::kConversionFailed;
}

}  // namespace vellicor
