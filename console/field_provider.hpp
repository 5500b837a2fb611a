// The console's answers to the driver: every field read from the arguments.
#pragma once

#include <cstdint>

#include "console/command_line.hpp"
#include "console/long_options.hpp"
#include "driver/host_callbacks.hpp"

namespace vellicor::console {

// get_field for a context that is a CommandLine. Clears the whole buffer,
// then writes the field's text: the input path and -o made absolute, an
// option standing alone as "1" for -w and "0" for the others. Returns kSupplied;
// kBadRequest for a null context or buffer or a size below 2; kNotSupplied
// when the option is absent; kUnknownField for fields no letter answers;
// kTextUnavailable / kTextTooLong when a text cannot be had or does not fit.
FieldAnswer get_console_field(void* context, FieldId id, char* buffer, std::uint32_t size);

// What get_extended_console_field reads: the command line without its long
// options, and what those gave.
struct ExtendedCommandLine {
  CommandLine line;             // program name, short options, picture
  const char* chars = nullptr;  // the character list text (--chars or the file's)
  const char* blank_advance = nullptr;
  const char* ink = nullptr;
  const char* layout = nullptr;  // the layout's keyword for --grid or --marks
  const char* rows = nullptr;
  const char* grid_cell = nullptr;  // --grid's WxH
  const char* grid_origin = nullptr;
  const char* grid_gap = nullptr;
  const char* proportional = nullptr;  // "1" for --proportional
  const char* charset = nullptr;
  const char* format = nullptr;
};

// Takes the values of the long options into request, --chars as its list;
// line and a --chars-file list are the caller's.
void take_long_options(const LongOptions& options, ExtendedCommandLine& request);

// get_field for a context that is an ExtendedCommandLine: the extended
// conversion's fields (FieldChars to FieldCharset) from the long options
// (kNotSupplied when not given), every other field as get_console_field
// answers it for line.
FieldAnswer get_extended_console_field(void* context, FieldId id, char* buffer, std::uint32_t size);

// The callback table cvellicor hands the driver: no busy display, and a
// report_message that prints the text and ends the process with status 1.
const HostCallbacks& console_callbacks();
// The same with get_extended_console_field.
const HostCallbacks& extended_console_callbacks();

}  // namespace vellicor::console
