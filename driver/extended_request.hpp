// The extended settings of a run: the fields beyond the plain conversion's.
#pragma once

#include <cstdint>
#include <vector>

#include "driver/host_callbacks.hpp"
#include "driver/ink_rule_names.hpp"
#include "driver/messages.hpp"
#include "vellicor/internal/request_limits.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Room the driver offers for the character list, terminator included.
inline constexpr auto kCharsFieldBufferSize = static_cast<std::uint32_t>(kMostCharsBytes + 1);

struct ExtendedRequest {
  bool any_supplied = false;  // false: the run is the plain conversion
  std::vector<char> chars;    // the list's text when supplied, else empty
  ConversionSettings settings{};
};

// Asks for FieldChars, FieldBlankAdvance, FieldInkRule, then the layout's
// fields (FieldLayout, FieldRows, FieldGridCell, FieldGridOrigin,
// FieldGridGap, FieldCharset, FieldProportional), then FieldFormat, in that order and fills
// request; the first refused field ends the reading. On a refused value returns kBadArgument and
// stores the message to report in refusal.
ResultCode read_extended_request(const HostCallbacks& callbacks, void* context,
                                 ExtendedRequest& request, Message& refusal);

}  // namespace vellicor
