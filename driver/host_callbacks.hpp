// What a front end hands the conversion driver: four functions and a context.
#pragma once

#include <cstdint>

#include "engine/result.hpp"

namespace vellicor {

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
};

// The host's side of a conversion. Every entry gets the host's context first;
// the driver never looks inside it and never keeps it past the call.
struct HostCallbacks {
  void (*begin_busy)(void* context);  // before convert; may be null
  void (*end_busy)(void* context);    // after the converter is released; may be null
  // The one message of a failed run (never empty); may be null, may not return.
  void (*report_message)(void* context, const char* text);
  // Writes the field's text, NUL-terminated, into buffer (size bytes); kOk when
  // supplied, anything else when not. Mandatory.
  ResultCode (*get_field)(void* context, FieldId id, char* buffer, std::uint32_t size);
};

}  // namespace vellicor
