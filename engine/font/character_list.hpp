// The character list of an extended conversion: UTF-8 text naming, left to
// right, the character of every glyph of the strip.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// One character of the list.
struct ListedCharacter {
  std::uint32_t code_point = 0;
  bool is_blank = false;  // a space separator: an empty glyph, none of the picture's
  // A place of a built-in set that holds no character (an undefined code
  // page position): it takes its cell or mark like any character, and the
  // font holds no glyph for it. Also is_blank.
  bool is_hole = false;
  char text[5] = {};  // its UTF-8 bytes, NUL-terminated (empty for U+0000)
};

struct CharacterList {
  std::vector<ListedCharacter> characters;  // in list order
  std::uint32_t inked_count = 0;            // characters that take a picture glyph
  // Index in characters of each line's first character: line feeds end
  // lines and are no characters. Always at least one line; a line feed at
  // the very end starts none.
  std::vector<std::uint32_t> line_starts{0};
};

// Where parsing stopped when it refused the list.
struct CharacterListProblem {
  std::uint32_t duplicate = 0;  // the code point listed twice
  std::uint32_t offset = 0;     // byte offset of the invalid sequence
};

// Writes code_point (a Unicode scalar value) into text as UTF-8 and a
// terminator; returns the bytes before the terminator, 1 to 4.
std::size_t encode_utf8(std::uint32_t code_point, char (&text)[5]);

// Decodes the UTF-8 character at text[offset] of the size bytes text holds:
// stores its code point and its length in bytes. False for a broken sequence:
// cut off, overlong, a surrogate, past U+10FFFF or a stray byte.
bool decode_utf8(const std::uint8_t* text, std::size_t size, std::size_t offset,
                 std::uint32_t& code_point, std::size_t& length);

// True for the Unicode space separators (general category Zs).
bool is_space_separator(std::uint32_t code_point);

// Whether text begins with the line `\escapes` and a line feed: the rest is
// then read in escape form, where `\u{H}` (1 to 6 hex digits) stands for any
// Unicode scalar value, U+0000 and the controls included, and `\\` for a
// backslash. Any other backslash is refused as invalid UTF-8 is.
bool starts_escaped_list(const char* text);

// Parses text (NUL-terminated UTF-8, or the escape form above) into list.
// Refusals, each with its own detail: kCharsEmpty, kCharsInvalid (overlong forms, surrogates,
// values past U+10FFFF and cut-off sequences included), kCharsDuplicate, kCharsOnlyBlanks. Returns
// kBadArgument with the detail stored, or kOk.
ResultCode parse_character_list(const char* text, CharacterList& list, ErrorDetail* detail,
                                CharacterListProblem* problem);

}  // namespace vellicor
