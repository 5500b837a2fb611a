// The rules a request's texts are judged by, as the README gives them: the
// limits of every numeric field, the blank advance, font names, ink rules.
#include "driver/request_fields.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/ink_rule_names.hpp"

namespace vellicor {
namespace {

const NumericField& field(FieldId id) {
  for (const NumericField& row : numeric_fields()) {
    if (row.id == id) return row;
  }
  ADD_FAILURE() << "no numeric field " << id;
  return numeric_fields().front();
}

TEST(RequestFields, NumericFieldsComeInTheDriversOrderWithTheirMessages) {
  std::vector<FieldId> ids;
  std::vector<std::string> refusals;
  for (const NumericField& row : numeric_fields()) {
    ids.push_back(row.id);
    refusals.push_back(message_text(row.refusal));
  }
  EXPECT_EQ(ids, (std::vector<FieldId>{FieldAllowedBlankColumns, FieldFirstGlyph, FieldDescent,
                                       FieldUpperBlank, FieldLeadingBlank, FieldTrailingBlank,
                                       FieldLowerBlank}));
  EXPECT_EQ(refusals,
            (std::vector<std::string>{"Invalid Blank Pixels Value", "Invalid 1st Glyph Value",
                                      "Invalid Descent Pixels Value", "Invalid Upper Blank Value",
                                      "Invalid Leading Blank Value", "Invalid Trailing Blank Value",
                                      "Invalid Lower Blank Value"}));
}

TEST(RequestFields, ByteFieldsTakeUpTo255AndTheFirstGlyphUpTo65535) {
  ConversionOptions options{};
  EXPECT_EQ(read_numeric_field(field(FieldDescent), "0xFF", options), ResultCode::kOk);
  EXPECT_EQ(options.descent, 255);
  EXPECT_EQ(read_numeric_field(field(FieldDescent), "256", options), ResultCode::kBadArgument);
  EXPECT_EQ(options.descent, 255);
  EXPECT_EQ(read_numeric_field(field(FieldLowerBlank), "7", options), ResultCode::kOk);
  EXPECT_EQ(options.lower_blank, 7);
  EXPECT_EQ(read_numeric_field(field(FieldFirstGlyph), "65535", options), ResultCode::kOk);
  EXPECT_EQ(options.first_glyph, 65535);
  EXPECT_EQ(read_numeric_field(field(FieldFirstGlyph), "0x10000", options),
            ResultCode::kBadArgument);
  EXPECT_EQ(read_numeric_field(field(FieldAllowedBlankColumns), "-1", options),
            ResultCode::kBadArgument);
  EXPECT_EQ(options.first_glyph, 65535);
  EXPECT_EQ(options.allowed_blank_columns, 0);
}

TEST(RequestFields, BlankAdvanceIsOneTo1024) {
  std::uint32_t advance = 9;
  for (const char* refused : {"0", "1025", "", "x", "0x401"}) {
    EXPECT_EQ(read_blank_advance(refused, advance), ResultCode::kBadArgument) << refused;
  }
  EXPECT_EQ(advance, 9u);
  EXPECT_EQ(read_blank_advance("1", advance), ResultCode::kOk);
  EXPECT_EQ(advance, 1u);
  EXPECT_EQ(read_blank_advance("0x400", advance), ResultCode::kOk);
  EXPECT_EQ(advance, 1024u);
}

TEST(RequestFields, FontNamesWithControlBytesAreRefused) {
  EXPECT_TRUE(is_usable_font_name("My Font-12 \xC3\xA9"));
  EXPECT_TRUE(is_usable_font_name(""));
  for (const char* refused : {"a\nFONT x", "tab\there", "del\x7F", "\x1F"}) {
    EXPECT_FALSE(is_usable_font_name(refused)) << refused;
  }
}

TEST(InkRuleNames, ListTheDefaultFirstEachWithItsNumber) {
  std::vector<std::string> keywords;
  std::vector<std::uint32_t> rules;
  for (const InkRuleName& row : ink_rule_names()) {
    keywords.push_back(row.keyword);
    rules.push_back(row.rule);
  }
  EXPECT_EQ(keywords, (std::vector<std::string>{"black", "dark", "opaque", "auto"}));
  EXPECT_EQ(rules, (std::vector<std::uint32_t>{0, 1, 2, 3}));
}

}  // namespace
}  // namespace vellicor
