// The font formats by name: the words the console takes after --format and
// the Preview window offers.
#pragma once

#include <cstdint>
#include <span>

#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

struct FormatName {
  const char* keyword;   // as typed: "otb"
  const char* title;     // as shown: "OTB: bitmap OpenType (GTK, Pango, fontconfig)"
  std::uint32_t format;  // VELLICOR_FORMAT_*
};

// Every format, BDF first, in the order a list box shows them.
std::span<const FormatName> format_names();

// The number of a format's keyword (VELLICOR_FORMAT_*) in format, or
// kBadArgument with format untouched.
ResultCode parse_format(const char* text, std::uint32_t& format);

}  // namespace vellicor
