// The character list: which characters are blanks. The expected answers are
// the Unicode Character Database's space separators (general category Zs),
// written out here, and characters beside them that are not separators.
#include "engine/font/character_list.hpp"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/support/param_label.hpp"

namespace vellicor {
namespace {

struct ListedBlank {
  const char* label;
  const char* text;  // the character's UTF-8
  bool blank;
};

// Names the row in test listings.
void PrintTo(const ListedBlank& row, std::ostream* out) { test::print_label(out, {row.label}); }

class CharacterListBlank : public ::testing::TestWithParam<ListedBlank> {};

TEST_P(CharacterListBlank, IsBlankExactlyForSpaceSeparators) {
  const std::string text = std::string("A") + GetParam().text;
  CharacterList list;
  ErrorDetail detail = ErrorDetail::kNone;
  CharacterListProblem problem;
  ASSERT_EQ(parse_character_list(text.c_str(), list, &detail, &problem), ResultCode::kOk);
  ASSERT_EQ(list.characters.size(), 2u);
  EXPECT_EQ(std::string(list.characters[1].text), GetParam().text);
  EXPECT_EQ(list.characters[1].is_blank, GetParam().blank);
  EXPECT_EQ(list.inked_count, GetParam().blank ? 1u : 2u);
}

INSTANTIATE_TEST_SUITE_P(
    SpaceSeparators, CharacterListBlank,
    ::testing::Values(
        ListedBlank{"U0020", "\x20", true}, ListedBlank{"U00A0", "\xC2\xA0", true},
        ListedBlank{"U1680", "\xE1\x9A\x80", true}, ListedBlank{"U2000", "\xE2\x80\x80", true},
        ListedBlank{"U2001", "\xE2\x80\x81", true}, ListedBlank{"U2002", "\xE2\x80\x82", true},
        ListedBlank{"U2003", "\xE2\x80\x83", true}, ListedBlank{"U2004", "\xE2\x80\x84", true},
        ListedBlank{"U2005", "\xE2\x80\x85", true}, ListedBlank{"U2006", "\xE2\x80\x86", true},
        ListedBlank{"U2007", "\xE2\x80\x87", true}, ListedBlank{"U2008", "\xE2\x80\x88", true},
        ListedBlank{"U2009", "\xE2\x80\x89", true}, ListedBlank{"U200A", "\xE2\x80\x8A", true},
        ListedBlank{"U202F", "\xE2\x80\xAF", true}, ListedBlank{"U205F", "\xE2\x81\x9F", true},
        ListedBlank{"U3000", "\xE3\x80\x80", true}),
    [](const auto& row) { return std::string(row.param.label); });

// Neighbours of the separators, and the blank-looking characters that are
// not space separators (tab, zero width space, byte order mark).
INSTANTIATE_TEST_SUITE_P(
    Neighbours, CharacterListBlank,
    ::testing::Values(
        ListedBlank{"U0009", "\x09", false}, ListedBlank{"U001F", "\x1F", false},
        ListedBlank{"U0021", "\x21", false}, ListedBlank{"U009F", "\xC2\x9F", false},
        ListedBlank{"U00A1", "\xC2\xA1", false}, ListedBlank{"U167F", "\xE1\x99\xBF", false},
        ListedBlank{"U1681", "\xE1\x9A\x81", false}, ListedBlank{"U1FFF", "\xE1\xBF\xBF", false},
        ListedBlank{"U200B", "\xE2\x80\x8B", false}, ListedBlank{"U202E", "\xE2\x80\xAE", false},
        ListedBlank{"U2030", "\xE2\x80\xB0", false}, ListedBlank{"U205E", "\xE2\x81\x9E", false},
        ListedBlank{"U2060", "\xE2\x81\xA0", false}, ListedBlank{"U2FFF", "\xE2\xBF\xBF", false},
        ListedBlank{"U3001", "\xE3\x80\x81", false}, ListedBlank{"UFEFF", "\xEF\xBB\xBF", false},
        ListedBlank{"U10020", "\xF0\x90\x80\xA0", false}),
    [](const auto& row) { return std::string(row.param.label); });

}  // namespace
}  // namespace vellicor
