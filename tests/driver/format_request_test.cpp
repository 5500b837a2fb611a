// The format field through the driver and the real engine: each keyword
// writes its file beside the picture under its own extension, a bad keyword
// or a font the format cannot hold writes nothing, and the notice of left-out
// characters names them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "driver/conversion_driver.hpp"
#include "driver/format_names.hpp"
#include "driver/messages.hpp"
#include "tests/driver/scripted_host.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"

namespace vellicor {
namespace {

using test::ScriptedHost;

// A strip of n one-column glyphs, a blank column after each.
std::vector<std::string> strip_of(std::size_t glyphs) {
  std::string ink;
  for (std::size_t i = 0; i < glyphs; ++i) ink += "#.";
  return {ink, ink};
}

std::vector<std::string> reports(ScriptedHost& host, const char* kind) {
  std::vector<std::string> found;
  const std::string prefix = std::string(kind) + ":";
  for (const std::string& event : host.events()) {
    if (event.rfind(prefix, 0) == 0) found.push_back(event.substr(prefix.size()));
  }
  return found;
}

TEST(FormatField, EachKeywordWritesItsFileBesideThePictureOrWhereToldTo) {
  for (const FormatName& name : format_names()) {
    SCOPED_TRACE(name.keyword);
    test::TempDir dir;
    test::write_file(dir.file("in.bmp"), test::make_one_bit_bmp(strip_of(3)));
    ScriptedHost host;
    host.answer(FieldInputPath, dir.file("in.bmp"));
    host.answer(FieldFormat, name.keyword);
    EXPECT_EQ(run_conversion(host.callbacks(), host.context()), ResultCode::kOk);
    const std::string font = std::string("in.") + name.keyword;
    std::vector<std::string> expected = {font, "in.bmp"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.entries(), expected);
    // The message of a refused keyword names every keyword.
    EXPECT_NE(std::strstr(message_text(Message::kInvalidFormat), name.keyword), nullptr);

    ScriptedHost told;
    told.answer(FieldInputPath, dir.file("in.bmp"));
    told.answer(FieldOutputPath, dir.file("told.font"));
    told.answer(FieldFormat, name.keyword);
    EXPECT_EQ(run_conversion(told.callbacks(), told.context()), ResultCode::kOk);
    EXPECT_EQ(test::read_text(dir.file("told.font")), test::read_text(dir.file(font)));
  }
}

TEST(FormatField, RefusalsWriteNothing) {
  struct Case {
    const char* format;
    std::size_t glyphs;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"PCF", 3, "Invalid Format Value: bdf, pcf, psf, otb, fon or ttf"},
      {"", 3, "Invalid Format Value: bdf, pcf, psf, otb, fon or ttf"},
      {"psf", 513, "The font has 513 glyphs, more than the Linux console loads: at most 512"},
  };
  for (const Case& run : cases) {
    SCOPED_TRACE(run.format);
    test::TempDir dir;
    test::write_file(dir.file("in.bmp"), test::make_one_bit_bmp(strip_of(run.glyphs)));
    ScriptedHost host;
    host.answer(FieldInputPath, dir.file("in.bmp"));
    host.answer(FieldFormat, run.format);
    EXPECT_NE(run_conversion(host.callbacks(), host.context()), ResultCode::kOk);
    EXPECT_EQ(reports(host, "report"), std::vector<std::string>{run.message});
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"in.bmp"});
  }
}

TEST(LeftOutText, NamesTheFirstCharactersAndCountsTheRest) {
  ConversionReport report{};
  EXPECT_EQ(left_out_text(report, VELLICOR_FORMAT_FON, true), "");
  report.left_out = 2;
  report.left_out_codes[0] = 0x100;
  report.left_out_codes[1] = 0x4E2D;
  EXPECT_EQ(left_out_text(report, VELLICOR_FORMAT_FON, true),
            "Left out of the FON, which holds Windows-1252 only: 2 characters (U+0100 '\u0100', "
            "U+4E2D '\u4E2D')");
  report.left_out = VELLICOR_LEFT_OUT_SHOWN + 3;
  const std::string many = left_out_text(report, VELLICOR_FORMAT_OTB, true);
  EXPECT_NE(many.find(": 11 characters (U+0100"), std::string::npos) << many;
  EXPECT_NE(many.find(", and 3 more)"), std::string::npos) << many;
  EXPECT_EQ(left_out_text(report, VELLICOR_FORMAT_FON, false).substr(0, 82),
            "Left out of the FON, which holds the codes 0 to 255 only: 11 glyphs (codes 256, 20");
}

}  // namespace
}  // namespace vellicor
