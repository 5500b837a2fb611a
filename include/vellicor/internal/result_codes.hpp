// Result codes and error details as the engine's C++ code passes them around.
//
// The public header gives hosts plain int32_t values (::ResultCode, ::ErrorDetail);
// inside, the same values travel as scoped enums so that a dropped result is a
// compiler warning and a detail cannot be mistaken for a result.
#pragma once

#include <cstdint>

namespace vellicor {

// clang-format 14 takes an attribute before an enum's name for a brace list.
// clang-format off
enum class [[nodiscard]] ResultCode : std::int32_t {
  kOk = 0,
  kUnusableInput = -1,  // not a usable picture; query on a null object
  kBadArgument = -2,    // null record, missing/empty/too long path; refused request
  kOutOfMemory = -5,
  kFileAccess = -6,     // file access failed, not one bit per pixel, name too long
  kNoGlyph = -10,       // the measuring pass found no glyph
  kNoInterface = -14,   // unsupported interface identifier
};
// clang-format on

enum class ErrorDetail : std::int32_t {
  kNone = 0,
  kNotBmp = -1,           // the file does not begin with "BM"
  kFileAccess = -2,       // opening, reading, positioning or writing a file failed
  kNameTooLong = -3,      // the derived output name is too long
  kUnsupported = -4,      // more than one bit per pixel, or compressed pixel data
  kUnusableContent = -5,  // header values, palette, ink colours, no ink pixel
  kOutOfMemory = -6,
  kNoGlyph = -7,             // the measuring pass failed or found no glyph
  kFontTooLarge = -8,        // the font would be far larger than its picture
  kCharsInvalid = -9,        // the character list is not valid UTF-8
  kCharsDuplicate = -10,     // a character is listed twice
  kCharsEmpty = -11,         // the character list is empty
  kCharsOnlyBlanks = -12,    // the list names no character that takes a glyph
  kCharsCount = -13,         // the list and the picture disagree in number
  kPictureTooLarge = -14,    // the picture exceeds the readers' size limit
  kPngTruncated = -15,       // the PNG file ends before its image does
  kPngChecksum = -16,        // a PNG chunk fails its CRC
  kPngBadData = -17,         // the PNG's compressed image data is broken
  kPngBadHeader = -18,       // impossible PNG header values or chunk layout
  kBmpBadData = -19,         // broken BMP pixel data (RLE runs past the picture)
  kNoInk = -20,              // no pixel counts as ink under the ink rule
  kAllInk = -21,             // every pixel counts as ink under the ink rule
  kDescentTooLarge = -22,    // the descent leaves no line of the box above the baseline
  kRowsDoNotDivide = -23,    // the picture's height does not divide into the bands
  kBandCount = -24,          // a band and its line of the character list differ in number
  kListLines = -25,          // the list's lines are neither one nor as many as the bands
  kNoCell = -26,             // not one whole cell of the grid fits in the picture
  kTooManyGlyphs = -27,      // a sheet of more than 65,536 glyphs
  kLayoutSettings = -28,     // layout settings that do not fit together
  kPsfGlyphCount = -29,      // more glyphs than the Linux console loads (512)
  kPsfCellSize = -30,        // a cell the Linux console does not load (1x1 to 64x128)
  kFonNothingLeft = -31,     // no glyph of the font has a Windows-1252 character
  kOutlineTooComplex = -32,  // a glyph's outline holds more points than TrueType takes
  kUnknownFormat = -33,      // a format number that names no format
  kGlyphTooLarge = -34,      // a glyph's figures past what the format's metrics hold
  // Reading a font back to draw it (the console's and dialog's drawing only).
  kFontUnknown = -35,         // no font reader knows the file's first bytes
  kFontDamaged = -36,         // the font file breaks its format's rules
  kFontNoBitmap = -37,        // an outline font without a bitmap strike: no pixels to draw
  kFontTooLargeToDraw = -38,  // a font file, glyph count or glyph past the readers' bounds
  kFontNoGlyph = -39,         // not one glyph with a code to draw
};

constexpr bool succeeded(ResultCode result) { return result == ResultCode::kOk; }
constexpr bool failed(ResultCode result) { return result != ResultCode::kOk; }

constexpr std::int32_t to_int(ResultCode result) { return static_cast<std::int32_t>(result); }
constexpr std::int32_t to_int(ErrorDetail detail) { return static_cast<std::int32_t>(detail); }

// Stores detail through an optional out-parameter.
inline void store_detail(ErrorDetail* place, ErrorDetail detail) {
  if (place != nullptr) *place = detail;
}

// The usual way to fail: record why (when the caller asked) and return the code.
inline ResultCode fail(ErrorDetail* place, ErrorDetail detail, ResultCode result) {
  store_detail(place, detail);
  return result;
}

}  // namespace vellicor
