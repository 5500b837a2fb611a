// The tables of the built-in character sets and the lists made from them.
#include "engine/font/charsets.hpp"

#include <array>

#include "vellicor/vellicor.h"

namespace vellicor {
namespace {

constexpr std::uint32_t kHole = 0;  // a table entry for a position without a character

constexpr std::uint32_t kFirstPrintableAscii = 0x20;
constexpr std::uint32_t kLastPrintableAscii = 0x7E;
constexpr std::uint32_t kFirstLatin1Upper = 0xA0;
constexpr std::uint32_t kLastLatin1 = 0xFF;
constexpr std::uint32_t kDelete = 0x7F;
constexpr std::uint32_t kCp437House = 0x2302;  // the graphic character at 0x7F

// Code page 437's graphic characters in the control positions 0x00 to 0x1F,
// as the IBM PC's display adapters drew them; 0x00 draws nothing.
constexpr std::array<std::uint16_t, 32> kCp437Controls = {
    0x0000, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022, 0x25D8, 0x25CB, 0x25D9,
    0x2642, 0x2640, 0x266A, 0x266B, 0x263C, 0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7,
    0x25AC, 0x21A8, 0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,
};

// Code page 437 from 0x80 to 0xFF.
constexpr std::array<std::uint16_t, 128> kCp437Upper = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// Code page 1252 from 0x80 to 0x9F, where it differs from Latin-1; 0x81,
// 0x8D, 0x8F, 0x90 and 0x9D are undefined.
constexpr std::array<std::uint16_t, 32> kCp1252Upper = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x0000, 0x017D, 0x0000, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
};
constexpr std::uint32_t kCp1252FirstLatin1 = 0xA0;  // from here code page 1252 is Latin-1

void append(CharacterList& list, std::uint32_t code_point) {
  ListedCharacter character;
  if (code_point == kHole) {
    character.is_hole = true;
    character.is_blank = true;
  } else {
    character.code_point = code_point;
    character.is_blank = is_space_separator(code_point);
    encode_utf8(code_point, character.text);
  }
  if (!character.is_blank) ++list.inked_count;
  list.characters.push_back(character);
}

void append_range(CharacterList& list, std::uint32_t first, std::uint32_t last) {
  for (std::uint32_t code_point = first; code_point <= last; ++code_point) {
    append(list, code_point);
  }
}

template <std::size_t kSize>
void append_table(CharacterList& list, const std::array<std::uint16_t, kSize>& table) {
  for (const std::uint16_t code_point : table) append(list, code_point);
}

}  // namespace

ResultCode charset_list(std::uint32_t charset, CharacterList& list, ErrorDetail* detail) {
  list = CharacterList{};
  switch (charset) {
    case VELLICOR_CHARSET_ASCII:
      append_range(list, kFirstPrintableAscii, kLastPrintableAscii);
      break;
    case VELLICOR_CHARSET_LATIN1:
      append_range(list, kFirstPrintableAscii, kLastPrintableAscii);
      append_range(list, kFirstLatin1Upper, kLastLatin1);
      break;
    case VELLICOR_CHARSET_CP437:
      append_table(list, kCp437Controls);
      append_range(list, kFirstPrintableAscii, kLastPrintableAscii);
      append(list, kCp437House);
      append_table(list, kCp437Upper);
      break;
    case VELLICOR_CHARSET_CP1252:
      // 0x7F is DEL, a defined character of the code page; only the five
      // undefined positions are holes.
      append_range(list, kFirstPrintableAscii, kDelete);
      append_table(list, kCp1252Upper);
      append_range(list, kCp1252FirstLatin1, kLastLatin1);
      break;
    default:
      return fail(detail, ErrorDetail::kLayoutSettings, ResultCode::kBadArgument);
  }
  return ResultCode::kOk;
}

std::optional<std::uint8_t> cp1252_byte(std::uint32_t code_point) {
  constexpr std::uint32_t kFirstUpper = 0x80;
  if (code_point < kFirstUpper || (code_point >= kCp1252FirstLatin1 && code_point <= kLastLatin1)) {
    return static_cast<std::uint8_t>(code_point);
  }
  for (std::size_t index = 0; index < kCp1252Upper.size(); ++index) {
    if (kCp1252Upper[index] != kHole && kCp1252Upper[index] == code_point) {
      return static_cast<std::uint8_t>(kFirstUpper + index);
    }
  }
  return std::nullopt;
}

}  // namespace vellicor
