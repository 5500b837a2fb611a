// The blank-only list check, on the character list's UTF-8 text.
#include "vellicor/internal/blank_list.hpp"

#include <cstddef>
#include <cstdint>

#include "engine/font/character_list.hpp"

namespace vellicor {
namespace {

constexpr std::uint8_t kContinuationMask = 0xC0;
constexpr std::uint8_t kContinuationTag = 0x80;
constexpr std::uint8_t kContinuationBits = 0x3F;
constexpr int kBitsPerContinuation = 6;

// Decodes the character at text and moves text past it; false for a byte
// sequence that is no character. The space separators all lie below U+10000,
// so a four-byte sequence is refused like any other non-blank.
bool next_code_point(const std::uint8_t*& text, std::uint32_t& code_point) {
  const std::uint8_t lead = *text;
  int following = 0;
  std::uint32_t smallest = 0;
  if (lead < 0x80) {
    code_point = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    code_point = lead & 0x1Fu;
    following = 1;
    smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    code_point = lead & 0x0Fu;
    following = 2;
    smallest = 0x800;
  } else {
    return false;
  }
  ++text;
  for (int index = 0; index < following; ++index, ++text) {
    // The terminator is no continuation byte, so a cut-off sequence stops here.
    if ((*text & kContinuationMask) != kContinuationTag) return false;
    code_point = (code_point << kBitsPerContinuation) | (*text & kContinuationBits);
  }
  return code_point >= smallest;
}

}  // namespace

bool lists_only_blanks(const char* text) {
  if (text == nullptr || text[0] == '\0') return false;
  const auto* place = reinterpret_cast<const std::uint8_t*>(text);
  while (*place != 0) {
    std::uint32_t code_point = 0;
    if (!next_code_point(place, code_point) || !is_space_separator(code_point)) return false;
  }
  return true;
}

}  // namespace vellicor
