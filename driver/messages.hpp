// Every text the driver reports, and the texts both front ends show, behind
// one lookup.
#pragma once

#include <cstddef>
#include <string>

#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

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
  kCharsTooLong,          // FieldChars does not fit the driver's buffer
  kInvalidBlankAdvance,   // FieldBlankAdvance refused
  kInvalidInkRule,        // FieldInkRule refused
  kCharsInvalid,          // ErrorDetail::kCharsInvalid (without its position)
  kCharsDuplicate,        // ErrorDetail::kCharsDuplicate (without the character)
  kCharsEmpty,            // ErrorDetail::kCharsEmpty
  kCharsOnlyBlanks,       // ErrorDetail::kCharsOnlyBlanks
  kCharsCount,            // ErrorDetail::kCharsCount (without the numbers)
  kCharsFileUnreadable,   // a character list file cannot be read
  kPictureTooLarge,       // ErrorDetail::kPictureTooLarge
  kPngTruncated,          // ErrorDetail::kPngTruncated
  kPngChecksum,           // ErrorDetail::kPngChecksum
  kPngBadData,            // ErrorDetail::kPngBadData
  kPngBadHeader,          // ErrorDetail::kPngBadHeader
  kBmpBadData,            // ErrorDetail::kBmpBadData
  kFontTooLarge,          // ErrorDetail::kFontTooLarge
  kCharsNulByte,          // a character list file holds a NUL byte (without its offset)
  kOutputIsCharsFile,     // the font would replace the character list file
  kTooManyGlyphs,         // ErrorDetail::kTooManyGlyphs
  kLayoutSettings,        // ErrorDetail::kLayoutSettings
  kInvalidLayout,         // FieldLayout refused
  kInvalidRows,           // FieldRows refused
  kInvalidGridCell,       // FieldGridCell refused
  kInvalidGridOrigin,     // FieldGridOrigin refused
  kInvalidGridGap,        // FieldGridGap refused
  kInvalidCharset,        // FieldCharset refused
  kInvalidFormat,         // FieldFormat refused
  kPsfGlyphCount,         // ErrorDetail::kPsfGlyphCount (without the count)
  kPsfCellSize,           // ErrorDetail::kPsfCellSize
  kFonNothingLeft,        // ErrorDetail::kFonNothingLeft
  kOutlineTooComplex,     // ErrorDetail::kOutlineTooComplex
  kUnknownFormat,         // ErrorDetail::kUnknownFormat
  kGlyphTooLarge,         // ErrorDetail::kGlyphTooLarge
  kFontUnknown,           // ErrorDetail::kFontUnknown
  kFontDamaged,           // ErrorDetail::kFontDamaged (without the line)
  kFontNoBitmap,          // ErrorDetail::kFontNoBitmap
  kFontTooLargeToDraw,    // ErrorDetail::kFontTooLargeToDraw
  kFontNoGlyph,           // ErrorDetail::kFontNoGlyph
  kInvalidColumns,        // a drawing's glyphs a row refused
  kFontNotAGrid,          // a drawing asked for as a grid that the font does not fit
  kFontFileUnreadable,    // the font to draw cannot be read (the path follows)
  kPictureUnwritable,     // a drawing's picture or list cannot be written (the path follows)
};

// The fixed English text of message; never null, never empty.
const char* message_text(Message message);

// The message that reports a failed conversion with this detail.
Message message_for_detail(ErrorDetail detail);

// The text that reports a failed extended conversion or cut: the detail's
// message, with what the report tells filled in where it helps (the two
// counts of a mismatch, the duplicate character, where UTF-8 broke).
std::string failure_text(ErrorDetail detail, const ConversionReport& report);

// The notice of a font written in format (VELLICOR_FORMAT_*) without the
// glyphs the format cannot hold (report.left_out), naming the first of them:
// as characters when the font was made with a list (listed), else by code.
// Empty when none were left out.
std::string left_out_text(const ConversionReport& report, std::uint32_t format, bool listed);
// The text that reports a font that could not be drawn: the detail's
// message, with the line of a damaged BDF when it is known (line 0: not).
std::string drawing_failure_text(ErrorDetail detail, std::uint64_t line);
// kCharsNulByte's text with the byte's offset in the list.
std::string nul_byte_text(std::size_t offset);

}  // namespace vellicor
