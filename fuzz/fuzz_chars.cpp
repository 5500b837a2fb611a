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

// The UTF-8 form of a code point the parser accepted. U+0000, which only an
// escaped list names, has an empty text: a C string cannot hold it.
std::string encode(std::uint32_t code) {
  std::string text;
  if (code == 0) return text;
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

// The text with every CR LF as one LF, as the parser reads line breaks.
std::string with_line_feeds(const std::string& text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result.push_back(text[i]);
  }
  return result;
}

constexpr char kEscapesLine[] = "\\escapes\n";

// The text an escaped list's body stands for: \u{H} as the character's
// UTF-8 and a doubled backslash as one. Bytes of a malformed escape stay as they
// are; only bodies the parser took are compared.
std::string unescaped(const std::string& body) {
  std::string text;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size() && body[i + 1] == '\\') {
      text += '\\';
      ++i;
      continue;
    }
    const std::size_t close = body.find('}', i);
    if (body.compare(i, 3, "\\u{") == 0 && close != std::string::npos && close > i + 3 &&
        close <= i + 9) {
      const std::string digits = body.substr(i + 3, close - i - 3);
      if (digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
        text += encode(static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16)));
        i = close;
        continue;
      }
    }
    text += body[i];
  }
  return text;
}

// The characters' texts with a line feed before each line's first character.
std::string with_lines(const vellicor::CharacterList& list) {
  std::string text;
  std::size_t next_line = 1;
  for (std::size_t i = 0; i <= list.characters.size(); ++i) {
    for (; next_line < list.line_starts.size() && list.line_starts[next_line] == i; ++next_line) {
      text += '\n';
    }
    if (i < list.characters.size()) text += list.characters[i].text;
  }
  return text;
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
    if (!listed[character.code_point]) {
      listed[character.code_point] = true;
      ++distinct;
    }
    if (!character.is_blank) ++inked;
  }

  // Line breaks are no characters; the lines start where they stood.
  require(list.line_starts.size() >= 1 && list.line_starts[0] == 0, "the first line starts first");
  const std::string lined = with_lines(list);
  // An escaped list is compared by what its escapes stand for.
  const bool escaped = vellicor::starts_escaped_list(list_text.c_str());
  const std::string body = escaped ? list_text.substr(sizeof kEscapesLine - 1) : list_text;
  std::string whole = with_line_feeds(body);
  if (!whole.empty() && whole.back() == '\n') whole.pop_back();  // starts no line
  if (escaped) whole = unescaped(whole);
  if (vellicor::succeeded(result)) {
    require(lined == whole, "an accepted list is exactly its characters and line breaks");
    require(distinct == list.characters.size(), "an accepted list has no duplicate");
    require(inked == list.inked_count && inked > 0, "an accepted list has a character with ink");
  } else if (detail == Detail::kCharsInvalid && escaped) {
    require(problem.offset >= sizeof kEscapesLine - 1 && problem.offset < list_text.size(),
            "a bad escape is reported inside the escaped list");
  } else if (detail == Detail::kCharsInvalid) {
    require(problem.offset < list_text.size() &&
                with_line_feeds(list_text.substr(0, problem.offset)) == lined,
            "invalid UTF-8 is reported where decoding stopped, after the valid prefix");
  } else if (detail == Detail::kCharsEmpty) {
    require(body.empty(), "only the empty list is empty");
  } else if (detail == Detail::kCharsDuplicate) {
    require(lined == whole, "a duplicate is found in valid text");
    require(distinct < list.characters.size() && problem.duplicate < listed.size() &&
                listed[problem.duplicate],
            "the duplicate reported is listed twice");
  } else {
    require(detail == Detail::kCharsOnlyBlanks && inked == 0 && lined == whole,
            "the remaining refusal is a list of blanks");
  }

  ConversionReport report{};
  report.problem_character = problem.duplicate;
  report.problem_offset = problem.offset;
  require(!vellicor::failure_text(detail, report).empty(), "every refusal has a message");
  return 0;
}
