// The layouts by name: the words the driver reads from FieldLayout and a
// front end offers.
#pragma once

#include <cstdint>
#include <span>

#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

struct LayoutName {
  const char* keyword;   // as the field holds it: "grid"
  const char* title;     // as shown: "Grid"
  std::uint32_t layout;  // VELLICOR_LAYOUT_*
};

// Every layout, the default (strip) first.
std::span<const LayoutName> layout_names();

// The keyword of layout (VELLICOR_LAYOUT_*); that of the strip for a number
// no layout has.
const char* layout_keyword(std::uint32_t layout);

// The number of a layout's keyword in layout, or kBadArgument with layout
// untouched.
ResultCode parse_layout(const char* text, std::uint32_t& layout);

}  // namespace vellicor
