// The fields of a conversion request and the rules that judge their texts:
// the driver reads a request by them, and a front end that checks its fields
// as the user types asks them too, so both refuse the same texts alike.
#pragma once

#include <cstdint>
#include <span>

#include "driver/host_callbacks.hpp"
#include "driver/messages.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// One numeric field of the plain conversion: where it comes from, its limit,
// its refusal and where its value goes.
struct NumericField {
  FieldId id;
  std::uint32_t limit;  // the largest value accepted
  Message refusal;      // what a refused text is answered with
  void (*store)(ConversionOptions& options, std::uint32_t value);
};

// The numeric fields in the order the driver asks for them; the first
// refusal ends a run before any later field is asked for.
std::span<const NumericField> numeric_fields();

// Reads text (decimal or "0x" hexadecimal) as field's value and stores it in
// options. kBadArgument, options untouched, when text is no number or the
// value is over the field's limit.
ResultCode read_numeric_field(const NumericField& field, const char* text,
                              ConversionOptions& options);

// Reads text as the advance of blank characters, 1 to kMostBlankAdvance.
// kBadArgument, advance untouched, for anything else.
ResultCode read_blank_advance(const char* text, std::uint32_t& advance);

// False when name holds a control byte: it ends up on the font's FONT line,
// where a line feed would forge further header lines.
bool is_usable_font_name(const char* name);

}  // namespace vellicor
