// The dialog's side of a conversion: the four callbacks the driver calls, each
// given the HostWindow as its context.
#pragma once

#include <cstdint>

#include "dialog/host_window.hpp"
#include "driver/host_callbacks.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor::dialog {

// The callback table for a conversion whose context is a HostWindow*.
const HostCallbacks& window_host_callbacks();

// Runs one conversion with window's controls as its fields.
ResultCode run_window_conversion(HostWindow& window);

// The field provider: the check box answers "1" or "0", the edits of the
// request fields their text. Clears all size bytes first; kBadRequest for a
// null context or buffer or a size under 2 (buffer untouched), kUnknownField
// for an identifier with no control, kTextUnavailable for an empty edit or a
// missing check box, kTextTooLong when the text does not fit whole (the
// whole characters that fit are still written).
FieldAnswer provide_field(void* context, FieldId id, char* buffer, std::uint32_t size);

}  // namespace vellicor::dialog
