// The ink rule table and the lookup of a keyword.
#include "driver/ink_rule_names.hpp"

#include <cstring>

namespace vellicor {
namespace {

constexpr InkRuleName kInkRuleNames[] = {
    {"black", "Black", "pure black is ink", VELLICOR_INK_BLACK},
    {"dark", "Dark", "darker than mid grey", VELLICOR_INK_DARK},
    {"opaque", "Opaque", "any colour", VELLICOR_INK_OPAQUE},
    {"auto", "Auto", "all but the paper colour", VELLICOR_INK_AUTO},
};

}  // namespace

std::span<const InkRuleName> ink_rule_names() { return kInkRuleNames; }

ResultCode parse_ink_rule(const char* text, std::uint32_t& rule) {
  if (text == nullptr) return ResultCode::kBadArgument;
  for (const InkRuleName& row : kInkRuleNames) {
    if (std::strcmp(row.keyword, text) == 0) {
      rule = row.rule;
      return ResultCode::kOk;
    }
  }
  return ResultCode::kBadArgument;
}

}  // namespace vellicor
