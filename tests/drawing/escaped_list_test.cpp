// Character lists in escape form: the first line `\escapes` lets a list name
// U+0000, the controls and a backslash; everything else reads as always.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/font/character_list.hpp"

namespace vellicor {
namespace {

std::vector<std::uint32_t> code_points(const CharacterList& list) {
  std::vector<std::uint32_t> codes;
  for (const ListedCharacter& character : list.characters) codes.push_back(character.code_point);
  return codes;
}

struct Parsed {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = ErrorDetail::kNone;
  CharacterListProblem problem;
  CharacterList list;
};

Parsed parse(const std::string& text) {
  Parsed parsed;
  parsed.result = parse_character_list(text.c_str(), parsed.list, &parsed.detail, &parsed.problem);
  return parsed;
}

TEST(EscapedList, NamesNulControlsAndBackslash) {
  const Parsed parsed = parse("\\escapes\n\\u{0}\\u{1F}A\\\\\\u{7f}\\u{9F}\\u{FEFF}\\u{10FFFF}");
  ASSERT_EQ(parsed.result, ResultCode::kOk);
  EXPECT_EQ(code_points(parsed.list),
            (std::vector<std::uint32_t>{0x0, 0x1F, 0x41, 0x5C, 0x7F, 0x9F, 0xFEFF, 0x10FFFF}));
  EXPECT_EQ(parsed.list.inked_count, 8u);
  EXPECT_EQ(parsed.list.line_starts, (std::vector<std::uint32_t>{0}));
  EXPECT_EQ(std::string(parsed.list.characters[3].text), "\\");
  EXPECT_EQ(std::string(parsed.list.characters[5].text), "\xC2\x9F");
  EXPECT_EQ(std::string(parsed.list.characters[7].text), "\xF4\x8F\xBF\xBF");
}

TEST(EscapedList, KeepsLinesBlanksAndLiteralText) {
  // The first line is no band line; an escaped line feed is a character,
  // a literal one ends a line; an escaped space is a blank.
  const Parsed parsed = parse("\\escapes\nab\\u{20}\\u{A}\r\n\xC3\xA9\\u{3000}\n");
  ASSERT_EQ(parsed.result, ResultCode::kOk);
  EXPECT_EQ(code_points(parsed.list),
            (std::vector<std::uint32_t>{'a', 'b', 0x20, 0x0A, 0xE9, 0x3000}));
  EXPECT_EQ(parsed.list.line_starts, (std::vector<std::uint32_t>{0, 4}));
  EXPECT_TRUE(parsed.list.characters[2].is_blank);
  EXPECT_FALSE(parsed.list.characters[3].is_blank);
  EXPECT_EQ(parsed.list.inked_count, 4u);
}

struct RefusedEscape {
  const char* text;
  std::uint32_t offset;  // of the escape's backslash
};

class EscapedListRefusal : public ::testing::TestWithParam<RefusedEscape> {};

TEST_P(EscapedListRefusal, RefusesAsInvalidWithTheOffset) {
  const Parsed parsed = parse(GetParam().text);
  EXPECT_EQ(parsed.result, ResultCode::kBadArgument);
  EXPECT_EQ(parsed.detail, ErrorDetail::kCharsInvalid);
  EXPECT_EQ(parsed.problem.offset, GetParam().offset);
}

// Offsets count the first line (9 bytes with its line feed).
INSTANTIATE_TEST_SUITE_P(
    BadEscapes, EscapedListRefusal,
    ::testing::Values(RefusedEscape{"\\escapes\nab\\n", 11},          // an unknown escape
                      RefusedEscape{"\\escapes\nab\\", 11},           // a backslash at the end
                      RefusedEscape{"\\escapes\n\\u41", 9},           // no braces
                      RefusedEscape{"\\escapes\n\\u{}", 9},           // no digit
                      RefusedEscape{"\\escapes\n\\u{41", 9},          // cut off
                      RefusedEscape{"\\escapes\nx\\u{0000041}", 10},  // seven digits
                      RefusedEscape{"\\escapes\n\\u{4G}", 9},         // not hex
                      RefusedEscape{"\\escapes\n\\u{-1}", 9},         // a sign
                      RefusedEscape{"\\escapes\n\\u{D800}", 9},       // a surrogate
                      RefusedEscape{"\\escapes\n\\u{DFFF}", 9},       // a surrogate
                      RefusedEscape{"\\escapes\n\\u{110000}", 9},     // past U+10FFFF
                      RefusedEscape{"\\escapes\nA\xC0\x80", 10}));    // bad UTF-8 stays bad

TEST(EscapedList, RefusesADuplicateThroughEscapeAndLiteral) {
  for (const char* text : {"\\escapes\nA\\u{41}", "\\escapes\n\\u{41}A", "\\escapes\n\\\\\\u{5C}",
                           "\\escapes\n\\u{0}x\\u{000}"}) {
    const Parsed parsed = parse(text);
    EXPECT_EQ(parsed.detail, ErrorDetail::kCharsDuplicate) << text;
  }
  EXPECT_EQ(parse("\\escapes\nA\\u{41}").problem.duplicate, 0x41u);
  EXPECT_EQ(parse("\\escapes\n\\u{0}x\\u{000}").problem.duplicate, 0u);
}

TEST(EscapedList, RefusesAFirstLineAloneAsEmpty) {
  EXPECT_EQ(parse("\\escapes\n").detail, ErrorDetail::kCharsEmpty);
  EXPECT_EQ(parse("\\escapes\n \\u{3000}").detail, ErrorDetail::kCharsOnlyBlanks);
}

TEST(EscapedList, ListWithoutTheFirstLineIsUnchanged) {
  // Backslashes are characters like any other: `\u{41}` is six of them.
  EXPECT_EQ(code_points(parse("\\u{41}").list),
            (std::vector<std::uint32_t>{'\\', 'u', '{', '4', '1', '}'}));
  // Only the exact first line counts: another spelling, or the line anywhere
  // but first, is literal text, whose repeated 'e' or 's' is then refused.
  for (const char* text :
       {"\\escapes \nab", "\\Escapes\nab", "\\escapesab", "x\n\\escapes\nab", "\\escapes\r\nab"}) {
    EXPECT_EQ(parse(text).detail, ErrorDetail::kCharsDuplicate) << text;
  }
  // A control written as a byte reads as before, in either form.
  EXPECT_EQ(code_points(parse("\x01\x7F").list), (std::vector<std::uint32_t>{0x01, 0x7F}));
  EXPECT_EQ(code_points(parse("\\escapes\n\x01\x7F").list),
            (std::vector<std::uint32_t>{0x01, 0x7F}));
}

}  // namespace
}  // namespace vellicor
