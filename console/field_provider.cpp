// The console field provider and the rest of cvellicor's callback table.
#include "console/field_provider.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "console/command_line.hpp"
#include "console/full_path.hpp"
#include "console/usage.hpp"
#include "driver/layout_names.hpp"
#include "driver/option_letters.hpp"

namespace vellicor::console {
namespace {

constexpr std::uint32_t kSmallestUsableBuffer = 2;  // one character and its terminator
constexpr int kFailureStatus = 1;

// The letter that answers id, or NUL when none does.
char letter_for(FieldId id) {
  for (const OptionLetter& row : kOptionLetterFields) {
    if (row.id == id) return row.letter;
  }
  return '\0';
}

FieldAnswer copy_value(const char* value, char* buffer, std::uint32_t size) {
  const std::size_t length = std::strlen(value);
  if (length >= size) return FieldAnswer::kTextTooLong;
  std::memcpy(buffer, value, length + 1);
  return FieldAnswer::kSupplied;
}

// The fields the long options answer.
struct LongOptionField {
  FieldId id;
  const char* ExtendedCommandLine::*value;
};

constexpr LongOptionField kLongOptionFields[] = {
    {FieldChars, &ExtendedCommandLine::chars},
    {FieldBlankAdvance, &ExtendedCommandLine::blank_advance},
    {FieldInkRule, &ExtendedCommandLine::ink},
    {FieldLayout, &ExtendedCommandLine::layout},
    {FieldRows, &ExtendedCommandLine::rows},
    {FieldGridCell, &ExtendedCommandLine::grid_cell},
    {FieldGridOrigin, &ExtendedCommandLine::grid_origin},
    {FieldGridGap, &ExtendedCommandLine::grid_gap},
    {FieldProportional, &ExtendedCommandLine::proportional},
    {FieldCharset, &ExtendedCommandLine::charset},
    {FieldFormat, &ExtendedCommandLine::format},
};

void ignore_busy(void*) {}

// The first failure the driver reports ends the program.
void report_and_exit(void*, const char* text) {
  if (text == nullptr || text[0] == '\0') return;
  print_line(text);
  static_cast<void>(std::fflush(stdout));  // the process ends with its failure status anyway
  std::exit(kFailureStatus);
}

// A notice of a run that goes on: printed as a failure is, without ending it.
void print_notice(void*, const char* text) {
  if (text != nullptr && text[0] != '\0') print_line(text);
}

constexpr HostCallbacks kConsoleCallbacks = {
    &ignore_busy, &ignore_busy, &report_and_exit, &get_console_field, nullptr,
};

constexpr HostCallbacks kExtendedConsoleCallbacks = {
    &ignore_busy, &ignore_busy, &report_and_exit, &get_extended_console_field, &print_notice,
};

}  // namespace

FieldAnswer get_console_field(void* context, FieldId id, char* buffer, std::uint32_t size) {
  if (context == nullptr || buffer == nullptr || size < kSmallestUsableBuffer) {
    return FieldAnswer::kBadRequest;
  }
  std::memset(buffer, 0, size);
  const auto& line = *static_cast<const CommandLine*>(context);
  if (line.count < 1) return FieldAnswer::kNotSupplied;

  if (id == FieldInputPath) return make_full_path(line.arguments[line.count - 1], buffer, size);

  const char letter = letter_for(id);
  if (letter == '\0') return FieldAnswer::kUnknownField;
  int index = 0;
  if (find_option(line, letter, &index) != OptionSearch::kFound) return FieldAnswer::kNotSupplied;

  const char* value = line.arguments[index];
  if (first_char_is_dash(value)) return copy_value(letter == 'w' ? "1" : "0", buffer, size);
  if (letter == 'o') return make_full_path(value, buffer, size);
  return copy_value(value, buffer, size);
}

const HostCallbacks& console_callbacks() { return kConsoleCallbacks; }

const HostCallbacks& extended_console_callbacks() { return kExtendedConsoleCallbacks; }

FieldAnswer get_extended_console_field(void* context, FieldId id, char* buffer,
                                       std::uint32_t size) {
  if (context == nullptr || buffer == nullptr || size < kSmallestUsableBuffer) {
    return FieldAnswer::kBadRequest;
  }
  auto& request = *static_cast<ExtendedCommandLine*>(context);
  for (const LongOptionField& field : kLongOptionFields) {
    if (field.id != id) continue;
    std::memset(buffer, 0, size);
    const char* value = request.*(field.value);
    if (value == nullptr) return FieldAnswer::kNotSupplied;
    return copy_value(value, buffer, size);
  }
  return get_console_field(&request.line, id, buffer, size);
}

void take_long_options(const LongOptions& options, ExtendedCommandLine& request) {
  request.chars = options.chars;
  request.blank_advance = options.blank_advance;
  request.ink = options.ink;
  request.layout = nullptr;
  if (options.grid != nullptr) {
    request.layout = layout_keyword(VELLICOR_LAYOUT_GRID);
  } else if (options.marks) {
    request.layout = layout_keyword(VELLICOR_LAYOUT_MARKS);
  }
  request.rows = options.rows;
  request.grid_cell = options.grid;
  request.grid_origin = options.grid_origin;
  request.grid_gap = options.grid_gap;
  request.proportional = options.proportional ? "1" : nullptr;
  request.charset = options.charset;
  request.format = options.format;
}

}  // namespace vellicor::console
