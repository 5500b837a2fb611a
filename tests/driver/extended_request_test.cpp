// The driver's extended fields against a scripted host and the real engine:
// refused settings, a text too long for the buffer, the failure texts that
// carry the report's figures, and the run that stays plain without them.
#include "driver/extended_request.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/conversion_driver.hpp"
#include "tests/driver/scripted_host.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

using test::ScriptedAnswer;
using test::ScriptedHost;

// Four glyphs.
const std::vector<std::string> kRows = {
    "...................",  //
    ".##..###..#..####..",  //
    ".#....#...#..#..#..",  //
};

class ExtendedDriver : public ::testing::Test {
 protected:
  ExtendedDriver() {
    test::write_file(dir_.file("in.bmp"), test::make_one_bit_bmp(kRows));
    host_.answer(FieldInputPath, dir_.file("in.bmp"));
  }
  // The messages the run reported.
  std::vector<std::string> reports() {
    std::vector<std::string> found;
    for (const std::string& event : host_.events()) {
      if (event.rfind("report:", 0) == 0) found.push_back(event.substr(7));
    }
    return found;
  }

  test::TempDir dir_;
  ScriptedHost host_;
};

TEST_F(ExtendedDriver, CountMismatchIsReportedWithBothNumbers) {
  host_.answer(FieldChars, "ab c");
  EXPECT_NE(run_conversion(host_.callbacks(), host_.context()), ResultCode::kOk);
  EXPECT_EQ(reports(),
            std::vector<std::string>{"The picture holds 4 glyphs but the character list names 3 "
                                     "(besides 1 blank character, which takes no glyph)"});
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"in.bmp"});
}

TEST_F(ExtendedDriver, MatchingListWritesTheUnicodeFont) {
  host_.answer(FieldChars, "ab\u00E7d");
  host_.answer(FieldInkRule, "black");
  EXPECT_EQ(run_conversion(host_.callbacks(), host_.context()), ResultCode::kOk);
  EXPECT_TRUE(reports().empty());
  EXPECT_NE(test::read_text(dir_.file("in.bdf")).find("STARTCHAR uni00E7\nENCODING 231\n"),
            std::string::npos);
}

TEST_F(ExtendedDriver, RefusedSettingsStopTheRunBeforeConverting) {
  const std::vector<std::pair<FieldId, ScriptedAnswer>> cases = {
      {FieldBlankAdvance, ScriptedAnswer{FieldAnswer::kSupplied, "0"}},
      {FieldBlankAdvance, ScriptedAnswer{FieldAnswer::kSupplied, "1025"}},
      {FieldBlankAdvance, ScriptedAnswer{FieldAnswer::kTextTooLong, ""}},
      {FieldInkRule, ScriptedAnswer{FieldAnswer::kSupplied, "Black"}},
      {FieldChars, ScriptedAnswer{FieldAnswer::kTextTooLong, ""}},
  };
  const std::vector<std::string> messages = {
      "Invalid Blank Advance Value", "Invalid Blank Advance Value", "Invalid Blank Advance Value",
      "Invalid Ink Rule Value", "Character list is too long"};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    ScriptedHost host;
    host.answer(FieldInputPath, dir_.file("in.bmp"));
    host.answer(cases[i].first, cases[i].second);
    EXPECT_EQ(run_conversion(host.callbacks(), host.context()), ResultCode::kBadArgument);
    std::vector<std::string> expected = {"report:" + messages[i]};
    EXPECT_EQ(host.events(), expected) << i;
    EXPECT_EQ(dir_.entries(), std::vector<std::string>{"in.bmp"});
  }
}

TEST_F(ExtendedDriver, AListOfBlanksOnlyIsRefusedAsSuchEvenWithRepeats) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      // The space three times is blanks only, not a repeated character.
      {"   ", "The character list names only blank characters"},
      {"\u00A0\u3000\u2000\u200A \u205F", "The character list names only blank characters"},
      // With a character of ink the repeat is the fault.
      {"  a", "The character list names U+0020 ' ' twice"},
      // An overlong space is no space, and U+200B is no space separator.
      {"\xC0\xA0", "The character list is not valid UTF-8 text (at byte 0)"},
      {"\u200B\u200B", "The character list names U+200B '\u200B' twice"},
      {" \xE3\x80", "The character list is not valid UTF-8 text (at byte 1)"},
  };
  for (const auto& [chars, message] : cases) {
    ScriptedHost host;
    host.answer(FieldInputPath, dir_.file("in.bmp"));
    host.answer(FieldChars, chars);
    EXPECT_NE(run_conversion(host.callbacks(), host.context()), ResultCode::kOk);
    const std::vector<std::string> events = host.events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "report:" + message), 1) << chars;
  }
  EXPECT_EQ(dir_.entries(), std::vector<std::string>{"in.bmp"});
}

TEST(NulByteText, NamesTheOffset) {
  EXPECT_EQ(nul_byte_text(17), "The character list holds a NUL byte (at byte 17)");
}

TEST(InkRuleNames, AreTheFourRulesInLowerCase) {
  std::uint32_t rule = 99;
  for (const auto& [name, value] :
       std::vector<std::pair<const char*, std::uint32_t>>{{"black", VELLICOR_INK_BLACK},
                                                          {"dark", VELLICOR_INK_DARK},
                                                          {"opaque", VELLICOR_INK_OPAQUE},
                                                          {"auto", VELLICOR_INK_AUTO}}) {
    EXPECT_EQ(parse_ink_rule(name, rule), ResultCode::kOk);
    EXPECT_EQ(rule, value);
  }
  EXPECT_EQ(parse_ink_rule("", rule), ResultCode::kBadArgument);
  EXPECT_EQ(parse_ink_rule("blackish", rule), ResultCode::kBadArgument);
  EXPECT_EQ(parse_ink_rule(nullptr, rule), ResultCode::kBadArgument);
}

}  // namespace
}  // namespace vellicor
