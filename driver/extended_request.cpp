// Reading and checking the extended settings' fields.
#include "driver/extended_request.hpp"

#include <cstring>

#include "driver/conversion_driver.hpp"
#include "driver/format_names.hpp"
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

  for (const SheetField& field : sheet_fields()) {
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

  answer = ask(callbacks, context, FieldFormat, text, kNumberFieldSize);
  if (answer != Answer::kAbsent) {
    request.any_supplied = true;
    if (answer == Answer::kTooLong || failed(parse_format(text, request.settings.format))) {
      return refuse(refusal, Message::kInvalidFormat);
    }
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
