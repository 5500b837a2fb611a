// Every text the driver and the console program print, behind one lookup.
#pragma once

#include "engine/result.hpp"

namespace vellicor {

enum class Message {
  kBadCallbackTable,      // the host gave no get_field
  kBadInputFileName,      // input path not supplied or empty
  kInputNameTooLong,      // input path fills the whole buffer
  kOutputNameTooLong,     // output path too long, given or derived
  kInvalidAllowedBlank,   // FieldAllowedBlankColumns refused
  kInvalidFirstGlyph,     // FieldFirstGlyph refused
  kInvalidDescent,        // FieldDescent refused
  kInvalidUpperBlank,     // FieldUpperBlank refused
  kInvalidLeadingBlank,   // FieldLeadingBlank refused
  kInvalidTrailingBlank,  // FieldTrailingBlank refused
  kInvalidLowerBlank,     // FieldLowerBlank refused
  kInvalidFontName,       // control characters in the font name
  kInvalidInputFileType,  // ErrorDetail::kNotBmp
  kFileAccessFailed,      // ErrorDetail::kFileAccess
  kFileNameTooLong,       // ErrorDetail::kNameTooLong
  kDataNotSupported,      // ErrorDetail::kUnsupported
  kUnusableContents,      // ErrorDetail::kUnusableContent
  kOutOfMemory,           // ErrorDetail::kOutOfMemory
  kNoGlyphGenerated,      // ErrorDetail::kNoGlyph
  kConversionFailed,      // any other detail, none included
  kErrorHeading,          // console: first line of a command-line error
  kUnexpectedOption,      // console: an option position holds something else
  kNoFileName,            // console: the last argument is no file name
};

// The fixed English text of message; never null, never empty.
const char* message_text(Message message);

// The message that reports a failed conversion with this detail.
Message message_for_detail(ErrorDetail detail);

}  // namespace vellicor
