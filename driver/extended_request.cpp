// Reading and checking the extended settings' fields.
#include "driver/extended_request.hpp"

#include <cstring>

#include "driver/charset_names.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/layout_names.hpp"
#include "driver/request_fields.hpp"
#include "driver/sheet_fields.hpp"

namespace vellicor {

namespace {

constexpr std::uint32_t kNumberFieldSize = 64;

bool is_terminated(const char* buffer, std::size_t size) {
  return std::memchr(buffer, '\0', size) != nullptr;
}

enum class Answer { kSupplied, kAbsent, kTooLong };

// Clears the buffer, then asks. A text that does not fit is refused rather
// than taken as absent: the user gave it.
Answer ask(const HostCallbacks& callbacks, void* context, FieldId id, char* buffer,
           std::uint32_t size) {
  std::memset(buffer, 0, size);
  const FieldAnswer answer = callbacks.get_field(context, id, buffer, size);
  if (answer == FieldAnswer::kTextTooLong) return Answer::kTooLong;
  if (!supplied(answer)) return Answer::kAbsent;
  return is_terminated(buffer, size) ? Answer::kSupplied : Answer::kTooLong;
}

ResultCode refuse(Message& refusal, Message message) {
  refusal = message;
  return ResultCode::kBadArgument;
}

ResultCode read_cell(const char* text, ConversionSettings& settings) {
  NumberPair cell;
  if (failed(read_cell_size(text, cell))) return ResultCode::kBadArgument;
  settings.cell_width = cell.first;
  settings.cell_height = cell.second;
  return ResultCode::kOk;
}

ResultCode read_origin(const char* text, ConversionSettings& settings) {
  NumberPair origin;
  if (failed(read_pixel_pair(text, origin))) return ResultCode::kBadArgument;
  settings.grid_origin_x = origin.first;
  settings.grid_origin_y = origin.second;
  return ResultCode::kOk;
}

ResultCode read_gap(const char* text, ConversionSettings& settings) {
  NumberPair gap;
  if (failed(read_pixel_pair(text, gap))) return ResultCode::kBadArgument;
  settings.grid_gap_x = gap.first;
  settings.grid_gap_y = gap.second;
  return ResultCode::kOk;
}

// One field of a sheet's layout: its refusal and where its value goes.
struct SheetField {
  FieldId id;
  Message refusal;
  ResultCode (*read)(const char* text, ConversionSettings& settings);
};

constexpr SheetField kSheetFields[] = {
    {FieldLayout, Message::kInvalidLayout,
     [](const char* text, ConversionSettings& settings) {
       return parse_layout(text, settings.layout);
     }},
    {FieldRows, Message::kInvalidRows,
     [](const char* text, ConversionSettings& settings) { return read_rows(text, settings.rows); }},
    {FieldGridCell, Message::kInvalidGridCell, &read_cell},
    {FieldGridOrigin, Message::kInvalidGridOrigin, &read_origin},
    {FieldGridGap, Message::kInvalidGridGap, &read_gap},
    {FieldCharset, Message::kInvalidCharset,
     [](const char* text, ConversionSettings& settings) {
       return parse_charset(text, settings.charset);
     }},
};

}  // namespace

ResultCode read_extended_request(const HostCallbacks& callbacks, void* context,
                                 ExtendedRequest& request, Message& refusal) {
  request = ExtendedRequest{};
  request.settings.size = sizeof request.settings;

  std::vector<char> chars(kCharsFieldBufferSize);
  Answer answer = ask(callbacks, context, FieldChars, chars.data(), kCharsFieldBufferSize);
  if (answer != Answer::kAbsent) {
    request.any_supplied = true;
    if (answer == Answer::kTooLong) return refuse(refusal, Message::kCharsTooLong);
    chars.resize(std::strlen(chars.data()) + 1);
    request.chars = std::move(chars);
    request.settings.chars = request.chars.data();
  }

  char text[kNumberFieldSize];
  answer = ask(callbacks, context, FieldBlankAdvance, text, kNumberFieldSize);
  if (answer != Answer::kAbsent) {
    request.any_supplied = true;
    if (answer == Answer::kTooLong ||
        failed(read_blank_advance(text, request.settings.blank_advance))) {
      return refuse(refusal, Message::kInvalidBlankAdvance);
    }
  }

  answer = ask(callbacks, context, FieldInkRule, text, kNumberFieldSize);
  if (answer != Answer::kAbsent) {
    request.any_supplied = true;
    if (answer == Answer::kTooLong || failed(parse_ink_rule(text, request.settings.ink_rule))) {
      return refuse(refusal, Message::kInvalidInkRule);
    }
  }

  for (const SheetField& field : kSheetFields) {
    answer = ask(callbacks, context, field.id, text, kNumberFieldSize);
    if (answer == Answer::kAbsent) continue;
    request.any_supplied = true;
    if (answer == Answer::kTooLong || failed(field.read(text, request.settings))) {
      return refuse(refusal, field.refusal);
    }
  }

  // Never refused, as the fixed width: anything but a nonzero number means
  // the cell width.
  answer = ask(callbacks, context, FieldProportional, text, kNumberFieldSize);
  if (answer != Answer::kAbsent) {
    request.any_supplied = true;
    std::uint32_t value = 0;
    if (answer == Answer::kSupplied && succeeded(parse_number(text, &value)) && value != 0) {
      request.settings.proportional = 1;
    }
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
