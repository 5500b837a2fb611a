// Fuzz target: the character list parser on arbitrary bytes, checked against
// an encoder: an accepted list re-encodes to exactly its text, a refused one
// is refused for the right reason, and its message can always be made.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "driver/messages.hpp"
#include "engine/font/character_list.hpp"
#include "fuzz/fuzz_check.hpp"

namespace {

using Detail = vellicor::ErrorDetail;
using vellicor::fuzz::require;

// The UTF-8 form of a code point the parser accepted.
std::string encode(std::uint32_t code) {
  std::string text;
  if (code < 0x80) {
    text.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    text.push_back(static_cast<char>(0xC0 | (code >> 6)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    text.push_back(static_cast<char>(0xE0 | (code >> 12)));
    text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    text.push_back(static_cast<char>(0xF0 | (code >> 18)));
    text.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
  return text;
}

bool is_scalar_value(std::uint32_t code) {
  return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// The Unicode space separators (general category Zs), from the Unicode
// Character Database.
constexpr std::uint32_t kSpaceSeparators[] = {
    0x0020, 0x00A0, 0x1680, 0x2000, 0x2001, 0x2002, 0x2003, 0x2004, 0x2005,
    0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x202F, 0x205F, 0x3000,
};

bool is_listed_space_separator(std::uint32_t code) {
  for (const std::uint32_t separator : kSpaceSeparators) {
    if (code == separator) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The list is a C string: it ends at the first NUL byte.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string list_text = text.substr(0, text.find('\0'));
  vellicor::CharacterList list;
  Detail detail = Detail::kNone;
  vellicor::CharacterListProblem problem;
  const vellicor::ResultCode result =
      vellicor::parse_character_list(list_text.c_str(), list, &detail, &problem);

  // Every character decoded before the end or the refusal re-encodes to the
  // bytes it came from.
  std::string encoded;
  // Which code points were listed, one flag each: a tree of 65,536 nodes
  // would take the fuzzer near its memory limit.
  std::vector<bool> listed(std::size_t{0x10FFFF} + 1);
  std::size_t distinct = 0;
  std::uint32_t inked = 0;
  for (const vellicor::ListedCharacter& character : list.characters) {
    require(is_scalar_value(character.code_point), "only Unicode scalar values are decoded");
    require(encode(character.code_point) == character.text, "a character's text is its UTF-8");
    require(character.is_blank == is_listed_space_separator(character.code_point),
            "blank means space separator");
    encoded += character.text;
    if (!listed[character.code_point]) {
      listed[character.code_point] = true;
      ++distinct;
    }
    if (!character.is_blank) ++inked;
  }

  if (vellicor::succeeded(result)) {
    require(encoded == list_text, "an accepted list is exactly its characters");
    require(distinct == list.characters.size(), "an accepted list has no duplicate");
    require(inked == list.inked_count && inked > 0, "an accepted list has a character with ink");
  } else if (detail == Detail::kCharsInvalid) {
    require(problem.offset == encoded.size() && problem.offset < list_text.size(),
            "invalid UTF-8 is reported where decoding stopped");
    require(list_text.compare(0, encoded.size(), encoded) == 0, "the valid prefix is the text's");
  } else if (detail == Detail::kCharsEmpty) {
    require(list_text.empty(), "only the empty list is empty");
  } else if (detail == Detail::kCharsDuplicate) {
    require(encoded == list_text, "a duplicate is found in valid text");
    require(distinct < list.characters.size() && problem.duplicate < listed.size() &&
                listed[problem.duplicate],
            "the duplicate reported is listed twice");
  } else {
    require(detail == Detail::kCharsOnlyBlanks && inked == 0 && encoded == list_text,
            "the remaining refusal is a list of blanks");
  }

  ConversionReport report{};
  report.problem_character = problem.duplicate;
  report.problem_offset = problem.offset;
  require(!vellicor::failure_text(detail, report).empty(), "every refusal has a message");
  return 0;
}
