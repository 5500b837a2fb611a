// What a front end hands the conversion driver: four functions and a context.
#pragma once

#include <cstdint>

namespace vellicor {

// What a provider answers when asked for one field. The values stay those the
// providers have always returned, so an answer reads the same in a log or a
// test on either side of the change that gave answers their own type.
// clang-format 14 takes an attribute before an enum's name for a brace list.
// clang-format off
enum class [[nodiscard]] FieldAnswer : std::int32_t {
  kSupplied = 0,           // the text is in the buffer, terminated
  kNotSupplied = -1,       // the host has no value for this field
  kBadRequest = -2,        // null context or buffer, or a buffer under 2 bytes
  kTextUnavailable = -10,  // the text cannot be obtained (empty edit, no control)
  kUnknownField = -14,     // a field this provider does not serve
  kTextTooLong = -15,      // the text does not fit the buffer
};
// clang-format on

constexpr bool supplied(FieldAnswer answer) { return answer == FieldAnswer::kSupplied; }
constexpr std::int32_t to_int(FieldAnswer answer) { return static_cast<std::int32_t>(answer); }

// Request fields. The values are also the dialog's control identifiers.
enum FieldId : std::int32_t {
  FieldInputPath = 1000,
  FieldFirstGlyph = 1002,
  FieldLeadingBlank = 1003,
  FieldTrailingBlank = 1004,
  FieldUpperBlank = 1005,
  FieldLowerBlank = 1006,
  FieldFontName = 1007,
  FieldFixedWidth = 1009,
  FieldAllowedBlankColumns = 1010,
  FieldDescent = 1011,
  FieldOutputPath = 1012,
  // The extended conversion's settings. A host that serves none of them gets
  // the plain conversion.
  FieldChars = 1013,         // UTF-8 character list; asked for with a large buffer
  FieldBlankAdvance = 1014,  // number text: the advance of blank characters
  FieldInkRule = 1015,       // "black", "dark", "opaque" or "auto"
  // The layout of a sheet of glyphs: how the glyphs stand in the picture.
  FieldLayout = 1016,        // "strip", "grid" or "marks"
  FieldRows = 1017,          // number text: bands of equal height
  FieldGridCell = 1018,      // "WxH": a grid's cell in pixels, as in "8x16"
  FieldGridOrigin = 1019,    // "X,Y": the first cell's top-left pixel
  FieldGridGap = 1020,       // "X,Y": pixels between cells across and down
  FieldProportional = 1021,  // number text, nonzero: a grid's glyphs advance by their ink
  FieldCharset = 1022,       // a built-in character set: "ascii", "latin1", "cp437", "cp1252"
  FieldFormat = 1023,        // the font's file format: "bdf", "pcf", "psf", "otb", "fon", "ttf"
};

// The host's side of a conversion. Every entry gets the host's context first;
// the driver never looks inside it and never keeps it past the call.
struct HostCallbacks {
  void (*begin_busy)(void* context);  // before convert; may be null
  void (*end_busy)(void* context);    // after the converter is released; may be null
  // The one message of a failed run (never empty); may be null, may not return.
  void (*report_message)(void* context, const char* text);
  // Writes the field's text, NUL-terminated, into buffer (size bytes); kSupplied
  // when supplied, the reason otherwise. Mandatory.
  FieldAnswer (*get_field)(void* context, FieldId id, char* buffer, std::uint32_t size);
  // A notice of a run that succeeded with something to tell (characters the
  // format left out); may be null.
  void (*report_notice)(void* context, const char* text);
};

}  // namespace vellicor
