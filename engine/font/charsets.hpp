// The built-in character sets: the character lists a conversion takes in
// place of a list of its own (ConversionSettings.charset).
#pragma once

#include <cstdint>
#include <optional>

#include "engine/font/character_list.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Fills list with the set's characters in code order (VELLICOR_CHARSET_*),
// one line. A code page position that holds no character is a hole
// (is_hole and is_blank, code point 0, empty text). Returns kOk, or
// kBadArgument with kLayoutSettings stored for a number that names no set,
// list then empty.
ResultCode charset_list(std::uint32_t charset, CharacterList& list, ErrorDetail* detail);

// The byte of code page 1252 (Windows Latin 1) that stands for code_point,
// or none: 0x00 to 0x7F and 0xA0 to 0xFF are Unicode's own, 0x80 to 0x9F
// the code page's table, its five undefined positions standing for nothing.
std::optional<std::uint8_t> cp1252_byte(std::uint32_t code_point);

}  // namespace vellicor
