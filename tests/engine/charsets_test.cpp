// The built-in character sets against the code page charts: sizes, holes,
// blanks and characters at the positions where tables most often go wrong.
#include "engine/font/charsets.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "vellicor/vellicor.h"

namespace vellicor {
namespace {

CharacterList list_of(std::uint32_t charset) {
  CharacterList list;
  ErrorDetail detail = ErrorDetail::kNone;
  EXPECT_EQ(charset_list(charset, list, &detail), ResultCode::kOk);
  EXPECT_EQ(detail, ErrorDetail::kNone);
  EXPECT_EQ(list.line_starts, std::vector<std::uint32_t>{0});
  return list;
}

// The character at index as its UTF-8 text.
std::string text_at(const CharacterList& list, std::size_t index) {
  return list.characters.at(index).text;
}

TEST(Charsets, AsciiAndLatin1) {
  const CharacterList ascii = list_of(VELLICOR_CHARSET_ASCII);
  ASSERT_EQ(ascii.characters.size(), 95u);
  EXPECT_EQ(ascii.inked_count, 94u);
  EXPECT_TRUE(ascii.characters[0].is_blank);
  EXPECT_EQ(text_at(ascii, 0), " ");
  EXPECT_EQ(text_at(ascii, 94), "~");

  const CharacterList latin1 = list_of(VELLICOR_CHARSET_LATIN1);
  ASSERT_EQ(latin1.characters.size(), 95u + 96u);
  EXPECT_EQ(latin1.inked_count, 94u + 95u);  // space and no-break space are blank
  EXPECT_EQ(latin1.characters[95].code_point, 0xA0u);
  EXPECT_TRUE(latin1.characters[95].is_blank);
  EXPECT_EQ(text_at(latin1, 95), "\xC2\xA0");
  EXPECT_EQ(text_at(latin1, 190), "\u00FF");
}

TEST(Charsets, Cp437HasAll256WithTheControlGraphics) {
  const CharacterList list = list_of(VELLICOR_CHARSET_CP437);
  ASSERT_EQ(list.characters.size(), 256u);
  // 0x00 is a hole; 0x20 and 0xFF (U+00A0) are blank.
  EXPECT_EQ(list.inked_count, 253u);
  EXPECT_TRUE(list.characters[0].is_hole);
  EXPECT_TRUE(list.characters[0].is_blank);
  EXPECT_EQ(text_at(list, 0), "");
  const std::pair<std::size_t, const char*> expected[] = {
      {0x01, "\u263A"}, {0x07, "\u2022"}, {0x0F, "\u263C"}, {0x13, "\u203C"}, {0x14, "\u00B6"},
      {0x15, "\u00A7"}, {0x1C, "\u221F"}, {0x1F, "\u25BC"}, {0x41, "A"},      {0x7F, "\u2302"},
      {0x80, "\u00C7"}, {0x9E, "\u20A7"}, {0xA9, "\u2310"}, {0xB0, "\u2591"}, {0xDB, "\u2588"},
      {0xE1, "\u00DF"}, {0xE6, "\u00B5"}, {0xF9, "\u2219"}, {0xFA, "\u00B7"}, {0xFC, "\u207F"},
      {0xFE, "\u25A0"}, {0xFF, "\u00A0"},
  };
  for (const auto& [position, text] : expected) {
    EXPECT_EQ(text_at(list, position), text) << position;
    EXPECT_FALSE(list.characters[position].is_hole) << position;
  }
  // No character twice: a font holds each code point once.
  std::set<std::uint32_t> seen;
  for (const ListedCharacter& character : list.characters) seen.insert(character.code_point);
  EXPECT_EQ(seen.size(), 256u);
}

TEST(Charsets, Cp1252HasItsFiveUndefinedPositionsAsHoles) {
  const CharacterList list = list_of(VELLICOR_CHARSET_CP1252);
  ASSERT_EQ(list.characters.size(), 224u);  // 0x20 to 0xFF
  const auto at = [&](std::size_t position) { return list.characters.at(position - 0x20); };
  std::size_t holes = 0;
  for (const ListedCharacter& character : list.characters) {
    if (!character.is_hole) continue;
    ++holes;
    EXPECT_TRUE(character.is_blank);
  }
  EXPECT_EQ(holes, 5u);
  for (const std::size_t position : {0x81u, 0x8Du, 0x8Fu, 0x90u, 0x9Du}) {
    EXPECT_TRUE(at(position).is_hole) << position;
  }
  EXPECT_EQ(list.inked_count, 224u - 5u - 2u);
  EXPECT_EQ(at(0x7F).code_point, 0x7Fu);
  EXPECT_EQ(at(0x80).code_point, 0x20ACu);
  EXPECT_EQ(at(0x8C).code_point, 0x152u);
  EXPECT_EQ(at(0x9F).code_point, 0x178u);
  EXPECT_EQ(at(0xA0).code_point, 0xA0u);
  EXPECT_TRUE(at(0xA0).is_blank);
  EXPECT_EQ(std::string(at(0xFF).text), "\u00FF");
}

// The byte of each character is its position in the set; the holes' and
// other characters' code points have none.
TEST(Charsets, Cp1252BytesAreTheSetsPositions) {
  const CharacterList list = list_of(VELLICOR_CHARSET_CP1252);
  for (std::size_t index = 0; index < list.characters.size(); ++index) {
    const ListedCharacter& character = list.characters[index];
    if (character.is_hole) continue;
    EXPECT_EQ(cp1252_byte(character.code_point), std::optional<std::uint8_t>(0x20 + index))
        << character.code_point;
  }
  EXPECT_EQ(cp1252_byte(0x41), std::optional<std::uint8_t>(0x41));
  EXPECT_EQ(cp1252_byte(0x9D), std::nullopt);  // a C1 control, undefined in the code page
  EXPECT_EQ(cp1252_byte(0x80), std::nullopt);
  for (const std::uint32_t other : {0x100u, 0x4E2Du, 0xFFFDu, 0x1F600u}) {
    EXPECT_EQ(cp1252_byte(other), std::nullopt) << other;
  }
}

TEST(Charsets, AnUnknownSetIsRefused) {
  for (const std::uint32_t charset : {VELLICOR_CHARSET_NONE, VELLICOR_CHARSET_CP1252 + 1}) {
    CharacterList list;
    ErrorDetail detail = ErrorDetail::kNone;
    EXPECT_EQ(charset_list(charset, list, &detail), ResultCode::kBadArgument);
    EXPECT_EQ(detail, ErrorDetail::kLayoutSettings);
    EXPECT_TRUE(list.characters.empty());
  }
}

}  // namespace
}  // namespace vellicor
