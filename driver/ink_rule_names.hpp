// The ink rules by name: the words the console takes after --ink and the
// driver reads from FieldInkRule, with what each means for a list box.
#pragma once

#include <cstdint>
#include <span>

#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

struct InkRuleName {
  const char* keyword;  // as typed: "black"
  const char* title;    // as shown: "Black"
  const char* meaning;  // what counts as ink under it
  std::uint32_t rule;   // VELLICOR_INK_*
};

// Every rule, the default (black) first.
std::span<const InkRuleName> ink_rule_names();

// The number of an ink rule's keyword (VELLICOR_INK_*) in rule, or
// kBadArgument with rule untouched.
ResultCode parse_ink_rule(const char* text, std::uint32_t& rule);

}  // namespace vellicor
