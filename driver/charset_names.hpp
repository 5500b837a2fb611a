// The built-in character sets by name: the words the console takes after
// --charset and the Preview window offers.
#pragma once

#include <cstdint>
#include <span>

#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

struct CharsetName {
  const char* keyword;    // as typed: "cp437"
  const char* title;      // as shown: "IBM PC (code page 437)"
  std::uint32_t charset;  // VELLICOR_CHARSET_*
};

// Every built-in set, in the order a list box shows them.
std::span<const CharsetName> charset_names();

// The number of a set's keyword (VELLICOR_CHARSET_*) in charset, or
// kBadArgument with charset untouched.
ResultCode parse_charset(const char* text, std::uint32_t& charset);

}  // namespace vellicor
