// UTF-8 decoding and the checks of a character list.
#include "engine/font/character_list.hpp"

#include <cstring>
#include <vector>

namespace vellicor {

namespace {

constexpr std::uint32_t kMostCodePoint = 0x10FFFF;
constexpr std::uint32_t kFirstSurrogate = 0xD800;
constexpr std::uint32_t kLastSurrogate = 0xDFFF;
constexpr std::uint8_t kContinuationMask = 0xC0;
constexpr std::uint8_t kContinuationTag = 0x80;
constexpr std::uint8_t kContinuationBits = 0x3F;
constexpr int kBitsPerContinuation = 6;

// A sequence's lead byte: how many bytes follow it, the payload bits it
// carries and the smallest value its length may encode (shorter forms of a
// value are refused).
struct LeadByte {
  int following;
  std::uint32_t bits;
  std::uint32_t smallest;
};

bool read_lead(std::uint8_t byte, LeadByte& lead) {
  if (byte < 0x80) {
    lead = {0, byte, 0};
  } else if ((byte & 0xE0) == 0xC0) {
    lead = {1, byte & 0x1Fu, 0x80};
  } else if ((byte & 0xF0) == 0xE0) {
    lead = {2, byte & 0x0Fu, 0x800};
  } else if ((byte & 0xF8) == 0xF0) {
    lead = {3, byte & 0x07u, 0x10000};
  } else {
    return false;  // a continuation byte, or a lead of five or more bytes
  }
  return true;
}

// The first line that puts a list in escape form.
constexpr char kEscapesLine[] = "\\escapes\n";
constexpr std::size_t kEscapesLineBytes = sizeof kEscapesLine - 1;
constexpr int kMostEscapeDigits = 6;
constexpr int kBitsPerHexDigit = 4;

int hex_digit_value(std::uint8_t byte) {
  if (byte >= '0' && byte <= '9') return byte - '0';
  if (byte >= 'a' && byte <= 'f') return byte - 'a' + 10;
  if (byte >= 'A' && byte <= 'F') return byte - 'A' + 10;
  return -1;
}

// Decodes the escape at text[offset], a backslash: "\\" or "\u{H}" with 1
// to 6 hex digits naming a Unicode scalar value; stores it and its length.
bool decode_escape(const std::uint8_t* text, std::size_t offset, std::uint32_t& code_point,
                   std::size_t& length) {
  const std::uint8_t* at = text + offset + 1;
  if (at[0] == '\\') {
    code_point = '\\';
    length = 2;
    return true;
  }
  if (at[0] != 'u' || at[1] != '{') return false;
  std::uint32_t value = 0;
  int digits = 0;
  for (int digit = hex_digit_value(at[2]); digit >= 0; digit = hex_digit_value(at[2 + digits])) {
    if (++digits > kMostEscapeDigits) return false;
    value = (value << kBitsPerHexDigit) | static_cast<std::uint32_t>(digit);
  }
  if (digits == 0 || at[2 + digits] != '}') return false;
  if (value > kMostCodePoint || (value >= kFirstSurrogate && value <= kLastSurrogate)) return false;
  code_point = value;
  length = static_cast<std::size_t>(digits) + 4;  // backslash, 'u', braces
  return true;
}

}  // namespace

bool decode_utf8(const std::uint8_t* text, std::size_t size, std::size_t offset,
                 std::uint32_t& code_point, std::size_t& length) {
  LeadByte lead{};
  if (offset >= size || !read_lead(text[offset], lead)) return false;
  if (static_cast<std::size_t>(lead.following) >= size - offset) return false;  // cut off
  std::uint32_t value = lead.bits;
  for (int i = 1; i <= lead.following; ++i) {
    const std::uint8_t byte = text[offset + static_cast<std::size_t>(i)];
    if ((byte & kContinuationMask) != kContinuationTag) return false;
    value = (value << kBitsPerContinuation) | (byte & kContinuationBits);
  }
  if (value < lead.smallest || value > kMostCodePoint) return false;
  if (value >= kFirstSurrogate && value <= kLastSurrogate) return false;
  code_point = value;
  length = static_cast<std::size_t>(lead.following) + 1;
  return true;
}

bool starts_escaped_list(const char* text) {
  return text != nullptr && std::strncmp(text, kEscapesLine, kEscapesLineBytes) == 0;
}

std::size_t encode_utf8(std::uint32_t code_point, char (&text)[5]) {
  constexpr std::uint32_t kMostOneByteUtf8 = 0x7F;
  constexpr std::uint32_t kMostTwoByteUtf8 = 0x7FF;
  constexpr std::uint32_t kMostThreeByteUtf8 = 0xFFFF;
  const auto byte = [](std::uint32_t value) { return static_cast<char>(value & 0xFFu); };
  std::size_t length = 4;
  if (code_point <= kMostOneByteUtf8) {
    text[0] = byte(code_point);
    length = 1;
  } else if (code_point <= kMostTwoByteUtf8) {
    text[0] = byte(0xC0u | (code_point >> 6));
    text[1] = byte(0x80u | (code_point & 0x3Fu));
    length = 2;
  } else if (code_point <= kMostThreeByteUtf8) {
    text[0] = byte(0xE0u | (code_point >> 12));
    text[1] = byte(0x80u | ((code_point >> 6) & 0x3Fu));
    text[2] = byte(0x80u | (code_point & 0x3Fu));
    length = 3;
  } else {
    text[0] = byte(0xF0u | (code_point >> 18));
    text[1] = byte(0x80u | ((code_point >> 12) & 0x3Fu));
    text[2] = byte(0x80u | ((code_point >> 6) & 0x3Fu));
    text[3] = byte(0x80u | (code_point & 0x3Fu));
  }
  text[length] = '\0';
  return length;
}

bool is_space_separator(std::uint32_t code_point) {
  switch (code_point) {
    case 0x0020:
    case 0x00A0:
    case 0x1680:
    case 0x202F:
    case 0x205F:
    case 0x3000:
      return true;
    default:
      return code_point >= 0x2000 && code_point <= 0x200A;
  }
}

ResultCode parse_character_list(const char* text, CharacterList& list, ErrorDetail* detail,
                                CharacterListProblem* problem) {
  list = CharacterList{};
  if (text == nullptr || text[0] == '\0') {
    return fail(detail, ErrorDetail::kCharsEmpty, ResultCode::kBadArgument);
  }
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
  const std::size_t size = std::strlen(text);
  // The escape form's first line names no band; offsets still count it.
  const bool escaped = starts_escaped_list(text);
  const std::size_t first_offset = escaped ? kEscapesLineBytes : 0;
  if (bytes[first_offset] == 0) {
    return fail(detail, ErrorDetail::kCharsEmpty, ResultCode::kBadArgument);
  }
  for (std::size_t offset = first_offset; bytes[offset] != 0;) {
    // A line feed ends a line (one band's characters); a carriage return
    // before it belongs to the line break.
    const bool crlf = bytes[offset] == '\r' && bytes[offset + 1] == '\n';
    if (bytes[offset] == '\n' || crlf) {
      offset += crlf ? 2 : 1;
      if (bytes[offset] != 0) {
        list.line_starts.push_back(static_cast<std::uint32_t>(list.characters.size()));
      }
      continue;
    }
    ListedCharacter character;
    std::size_t length = 0;
    const bool escape = escaped && bytes[offset] == '\\';
    const bool decoded = escape ? decode_escape(bytes, offset, character.code_point, length)
                                : decode_utf8(bytes, size, offset, character.code_point, length);
    if (!decoded) {
      if (problem != nullptr) problem->offset = static_cast<std::uint32_t>(offset);
      return fail(detail, ErrorDetail::kCharsInvalid, ResultCode::kBadArgument);
    }
    if (escape) {
      encode_utf8(character.code_point, character.text);
    } else {
      std::memcpy(character.text, text + offset, length);
    }
    character.is_blank = is_space_separator(character.code_point);
    if (!character.is_blank) ++list.inked_count;
    list.characters.push_back(character);
    offset += length;
  }

  // A list of blanks only is that, however often it repeats a blank.
  if (list.inked_count == 0) {
    return fail(detail, ErrorDetail::kCharsOnlyBlanks, ResultCode::kBadArgument);
  }

  // The first character met a second time is the one reported. One bit for
  // every code point (136 KiB) costs the same for any list, where a hash set
  // of a long list would take megabytes.
  constexpr std::size_t kBitsPerWord = 64;
  std::vector<std::uint64_t> seen((std::size_t{kMostCodePoint} + kBitsPerWord) / kBitsPerWord);
  for (const ListedCharacter& character : list.characters) {
    std::uint64_t& word = seen[character.code_point / kBitsPerWord];
    const std::uint64_t bit = std::uint64_t{1} << (character.code_point % kBitsPerWord);
    if ((word & bit) != 0) {
      if (problem != nullptr) problem->duplicate = character.code_point;
      return fail(detail, ErrorDetail::kCharsDuplicate, ResultCode::kBadArgument);
    }
    word |= bit;
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
