// run_conversion against a scripted host and a fake converter.
#include "driver/conversion_driver.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/extended_request.hpp"
#include "driver/messages.hpp"
#include "tests/driver/scripted_host.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor {
namespace {

using test::ConvertCall;
using test::FakeConverterScope;
using test::FakeConverterScript;
using test::ScriptedAnswer;
using test::ScriptedHost;

const std::vector<FieldId> kAllFieldsInOrder = {
    FieldInputPath,  FieldOutputPath, FieldAllowedBlankColumns, FieldFirstGlyph,
    FieldDescent,    FieldUpperBlank, FieldLeadingBlank,        FieldTrailingBlank,
    FieldLowerBlank, FieldFontName,   FieldFixedWidth};

// The fields requested up to and including id, in the driver's order.
std::vector<FieldId> fields_through(FieldId id) {
  std::vector<FieldId> fields;
  for (FieldId field : kAllFieldsInOrder) {
    fields.push_back(field);
    if (field == id) break;
  }
  return fields;
}

class ConversionDriver : public ::testing::Test {
 protected:
  ConversionDriver() : scope_(script_) { script_.events = &host_.events(); }

  ResultCode run() {
    return run_conversion(host_.callbacks(), host_.context(), &test::make_fake_converter);
  }

  const ConvertCall& only_call() const {
    EXPECT_EQ(script_.calls.size(), 1u);
    return script_.calls.front();
  }

  ScriptedHost host_;
  FakeConverterScript script_;
  FakeConverterScope scope_;
};

TEST_F(ConversionDriver, RequestsEveryFieldInOrderWithFullBuffers) {
  host_.answer(FieldInputPath, "/fonts/strip.bmp");
  EXPECT_EQ(run(), ResultCode::kOk);
  // The plain fields, then the extended conversion's settings, which this
  // host does not serve.
  std::vector<FieldId> expected = kAllFieldsInOrder;
  expected.insert(expected.end(), {FieldChars, FieldBlankAdvance, FieldInkRule, FieldLayout,
                                   FieldRows, FieldGridCell, FieldGridOrigin, FieldGridGap,
                                   FieldCharset, FieldProportional, FieldFormat});
  EXPECT_EQ(host_.requested(), expected);
  std::vector<std::uint32_t> sizes(kAllFieldsInOrder.size(), 260u);
  // A character list of 1 MiB and its terminator; the other texts of 64 bytes.
  sizes.insert(sizes.end(), {1048577u, 64u, 64u, 64u, 64u, 64u, 64u, 64u, 64u, 64u, 64u});
  EXPECT_EQ(host_.buffer_sizes(), sizes);
}

TEST_F(ConversionDriver, OnlyAnInputPathGivesDerivedOutputAndZeroOptions) {
  host_.answer(FieldInputPath, "/fonts/strip.bmp");
  EXPECT_EQ(run(), ResultCode::kOk);
  const ConvertCall& call = only_call();
  EXPECT_EQ(call.input_path, "/fonts/strip.bmp");
  EXPECT_EQ(call.output_path, "/fonts/strip.bdf");
  EXPECT_FALSE(call.font_name.has_value());
  const ConversionOptions& options = call.options;
  EXPECT_EQ(options.first_glyph, 0);
  EXPECT_EQ(options.allowed_blank_columns, 0);
  EXPECT_EQ(options.descent, 0);
  EXPECT_EQ(options.fixed_width, 0);
  EXPECT_EQ(options.upper_blank, 0);
  EXPECT_EQ(options.lower_blank, 0);
  EXPECT_EQ(options.leading_blank, 0);
  EXPECT_EQ(options.trailing_blank, 0);
  EXPECT_EQ(script_.live_objects, 0);
}

TEST_F(ConversionDriver, EveryFieldReachesConvert) {
  host_.answer(FieldInputPath, "in.bmp");
  host_.answer(FieldOutputPath, "out dir/font.bdf");
  host_.answer(FieldAllowedBlankColumns, "1");
  host_.answer(FieldFirstGlyph, "65535");
  host_.answer(FieldDescent, "0x2");
  host_.answer(FieldUpperBlank, "3");
  host_.answer(FieldLeadingBlank, "4");
  host_.answer(FieldTrailingBlank, "5");
  host_.answer(FieldLowerBlank, "255");
  host_.answer(FieldFontName, "Sample Font");
  host_.answer(FieldFixedWidth, "1");
  EXPECT_EQ(run(), ResultCode::kOk);
  const ConvertCall& call = only_call();
  EXPECT_EQ(call.input_path, "in.bmp");
  EXPECT_EQ(call.output_path, "out dir/font.bdf");
  EXPECT_EQ(call.font_name, "Sample Font");
  EXPECT_EQ(call.options.allowed_blank_columns, 1);
  EXPECT_EQ(call.options.first_glyph, 65535);
  EXPECT_EQ(call.options.descent, 2);
  EXPECT_EQ(call.options.upper_blank, 3);
  EXPECT_EQ(call.options.leading_blank, 4);
  EXPECT_EQ(call.options.trailing_blank, 5);
  EXPECT_EQ(call.options.lower_blank, 255);
  EXPECT_EQ(call.options.fixed_width, 1);
}

TEST_F(ConversionDriver, EmptyFontNameStaysAnEmptyText) {
  host_.answer(FieldInputPath, "in.bmp");
  host_.answer(FieldFontName, "");
  EXPECT_EQ(run(), ResultCode::kOk);
  EXPECT_EQ(only_call().font_name, "");
}

TEST_F(ConversionDriver, EmptyOrUnsuppliedOutputPathIsDerived) {
  host_.answer(FieldInputPath, "a.b.c");
  host_.answer(FieldOutputPath, "");
  EXPECT_EQ(run(), ResultCode::kOk);
  host_.answer(FieldOutputPath, ScriptedAnswer{FieldAnswer::kNotSupplied, "ignored"});
  EXPECT_EQ(run(), ResultCode::kOk);
  ASSERT_EQ(script_.calls.size(), 2u);
  EXPECT_EQ(script_.calls[0].output_path, "a.b.bdf");
  EXPECT_EQ(script_.calls[1].output_path, "a.b.bdf");
}

TEST_F(ConversionDriver, BusyNotificationsSurroundConvertOnce) {
  host_.answer(FieldInputPath, "in.bmp");
  EXPECT_EQ(run(), ResultCode::kOk);
  EXPECT_EQ(host_.events(),
            (std::vector<std::string>{"create", "begin_busy", "convert", "release", "end_busy"}));
}

TEST_F(ConversionDriver, FailedConvertIsReportedBeforeReleaseAndEndBusy) {
  host_.answer(FieldInputPath, "in.bmp");
  script_.convert_result = ResultCode::kFileAccess;
  script_.convert_detail = to_int(ErrorDetail::kFileAccess);
  EXPECT_EQ(run(), ResultCode::kFileAccess);
  EXPECT_EQ(host_.events(),
            (std::vector<std::string>{"create", "begin_busy", "convert",
                                      "report:Error in File Access During Operation", "release",
                                      "end_busy"}));
  EXPECT_EQ(script_.live_objects, 0);
}

TEST_F(ConversionDriver, FailedCreationReturnsItsResultSilently) {
  host_.answer(FieldInputPath, "in.bmp");
  script_.create_result = ResultCode::kOutOfMemory;
  EXPECT_EQ(run(), ResultCode::kOutOfMemory);
  EXPECT_EQ(host_.events(), std::vector<std::string>{"create"});
}

TEST_F(ConversionDriver, MissingBusySlotsAreSkipped) {
  host_.answer(FieldInputPath, "in.bmp");
  host_.drop_busy();
  EXPECT_EQ(run(), ResultCode::kOk);
  EXPECT_EQ(host_.events(), (std::vector<std::string>{"create", "convert", "release"}));
}

TEST(ConversionDriverTable, NullTableIsRefusedWithoutMessage) {
  EXPECT_EQ(run_conversion(nullptr, nullptr), ResultCode::kBadArgument);
}

TEST_F(ConversionDriver, MissingGetFieldIsReported) {
  host_.drop_get_field();
  EXPECT_EQ(run(), ResultCode::kBadArgument);
  EXPECT_EQ(host_.events(), std::vector<std::string>{"report:Bad input VTable"});
}

// A run the driver refuses: the fields answered, then what must happen.
struct Refusal {
  const char* name;
  std::vector<std::pair<FieldId, ScriptedAnswer>> answers;
  ResultCode result;
  std::string message;
  std::vector<FieldId> requested;
};

void PrintTo(const Refusal& row, std::ostream* out) { test::print_label(out, {row.name}); }

ScriptedAnswer text(std::string value) {
  return ScriptedAnswer{FieldAnswer::kSupplied, std::move(value)};
}

const std::string kPath259(259, 'p');

std::vector<Refusal> refusals() {
  const std::pair<FieldId, ScriptedAnswer> input{FieldInputPath, text("in.bmp")};
  std::vector<Refusal> rows = {
      {"InputNotSupplied",
       {{FieldInputPath, ScriptedAnswer{FieldAnswer::kTextUnavailable, ""}}},
       ResultCode::kBadArgument,
       "Bad input file name",
       {FieldInputPath}},
      {"InputTooLongForProvider",
       {{FieldInputPath, ScriptedAnswer{FieldAnswer::kTextTooLong, ""}}},
       ResultCode::kBadArgument,
       "Bad input file name",
       {FieldInputPath}},
      {"InputEmpty",
       {{FieldInputPath, text("")}},
       ResultCode::kBadArgument,
       "Bad input file name",
       {FieldInputPath}},
      {"InputFillsBuffer",
       {{FieldInputPath, ScriptedAnswer{FieldAnswer::kSupplied, "", false}}},
       ResultCode::kBadArgument,
       "BMP file name exceeds max length",
       {FieldInputPath}},
      {"OutputFillsBuffer",
       {input, {FieldOutputPath, ScriptedAnswer{FieldAnswer::kSupplied, "", false}}},
       ResultCode::kBadArgument,
       "BDF file name exceeds max length",
       fields_through(FieldOutputPath)},
      // 259 characters without extension, last '/' at offset 254: nothing short enough is left.
      {"DerivedNameRefused",
       {{FieldInputPath, text(std::string(254, 'd') + "/" + std::string(4, 'n'))}},
       ResultCode::kBadArgument,
       "BDF file name exceeds max length",
       fields_through(FieldOutputPath)},
      {"AllowedBlankTooLarge",
       {input, {FieldAllowedBlankColumns, text("256")}},
       ResultCode::kBadArgument,
       "Invalid Blank Pixels Value",
       fields_through(FieldAllowedBlankColumns)},
      {"FirstGlyphTooLarge",
       {input, {FieldFirstGlyph, text("65536")}},
       ResultCode::kBadArgument,
       "Invalid 1st Glyph Value",
       fields_through(FieldFirstGlyph)},
      {"FirstGlyphPastThirtyTwoBits",
       {input, {FieldFirstGlyph, text("4294967296")}},
       ResultCode::kBadArgument,
       "Invalid 1st Glyph Value",
       fields_through(FieldFirstGlyph)},
      {"DescentTooLarge",
       {input, {FieldDescent, text("300")}},
       ResultCode::kBadArgument,
       "Invalid Descent Pixels Value",
       fields_through(FieldDescent)},
      {"UpperBlankNegative",
       {input, {FieldUpperBlank, text("-1")}},
       ResultCode::kBadArgument,
       "Invalid Upper Blank Value",
       fields_through(FieldUpperBlank)},
      {"LeadingBlankNotANumber",
       {input, {FieldLeadingBlank, text("1e3")}},
       ResultCode::kBadArgument,
       "Invalid Leading Blank Value",
       fields_through(FieldLeadingBlank)},
      {"TrailingBlankWithBlank",
       {input, {FieldTrailingBlank, text(" 5")}},
       ResultCode::kBadArgument,
       "Invalid Trailing Blank Value",
       fields_through(FieldTrailingBlank)},
      {"LowerBlankTooLarge",
       {input, {FieldLowerBlank, text("0x100")}},
       ResultCode::kBadArgument,
       "Invalid Lower Blank Value",
       fields_through(FieldLowerBlank)},
      {"NumberFillsBuffer",
       {input, {FieldDescent, ScriptedAnswer{FieldAnswer::kSupplied, "", false}}},
       ResultCode::kBadArgument,
       "Invalid Descent Pixels Value",
       fields_through(FieldDescent)},
      {"FontNameWithLineFeed",
       {input, {FieldFontName, text("Evil\nCHARS 1")}},
       ResultCode::kBadArgument,
       "Invalid Font Name Value",
       fields_through(FieldFontName)},
      {"FontNameWithDelete",
       {input, {FieldFontName, text("A\x7F")}},
       ResultCode::kBadArgument,
       "Invalid Font Name Value",
       fields_through(FieldFontName)},
      {"FontNameWithTab",
       {input, {FieldFontName, text("A\tB")}},
       ResultCode::kBadArgument,
       "Invalid Font Name Value",
       fields_through(FieldFontName)},
      {"FontNameFillsBuffer",
       {input, {FieldFontName, ScriptedAnswer{FieldAnswer::kSupplied, "", false}}},
       ResultCode::kBadArgument,
       "Invalid Font Name Value",
       fields_through(FieldFontName)},
  };
  // A text the provider could not fit is refused with the field's message,
  // never replaced by the field's default.
  const ScriptedAnswer too_long{FieldAnswer::kTextTooLong, "cut"};
  rows.push_back({"OutputTooLongForProvider",
                  {input, {FieldOutputPath, too_long}},
                  ResultCode::kBadArgument,
                  "BDF file name exceeds max length",
                  fields_through(FieldOutputPath)});
  rows.push_back({"FontNameTooLongForProvider",
                  {input, {FieldFontName, too_long}},
                  ResultCode::kBadArgument,
                  "Invalid Font Name Value",
                  fields_through(FieldFontName)});
  struct NumberRow {
    const char* name;
    FieldId id;
    const char* message;
  };
  const NumberRow numbers[] = {
      {"AllowedBlankTooLongForProvider", FieldAllowedBlankColumns, "Invalid Blank Pixels Value"},
      {"FirstGlyphTooLongForProvider", FieldFirstGlyph, "Invalid 1st Glyph Value"},
      {"DescentTooLongForProvider", FieldDescent, "Invalid Descent Pixels Value"},
      {"UpperBlankTooLongForProvider", FieldUpperBlank, "Invalid Upper Blank Value"},
      {"LeadingBlankTooLongForProvider", FieldLeadingBlank, "Invalid Leading Blank Value"},
      {"TrailingBlankTooLongForProvider", FieldTrailingBlank, "Invalid Trailing Blank Value"},
      {"LowerBlankTooLongForProvider", FieldLowerBlank, "Invalid Lower Blank Value"},
  };
  for (const NumberRow& row : numbers) {
    rows.push_back({row.name,
                    {input, {row.id, too_long}},
                    ResultCode::kBadArgument,
                    row.message,
                    fields_through(row.id)});
  }
  return rows;
}

class DriverRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(DriverRefusal, StopsWithItsMessageAndNothingConverted) {
  const Refusal& row = GetParam();
  for (const bool with_report : {true, false}) {
    SCOPED_TRACE(with_report ? "with report_message" : "without report_message");
    ScriptedHost host;
    for (const auto& [id, answer] : row.answers) host.answer(id, answer);
    if (!with_report) host.drop_report_message();
    FakeConverterScript script;
    script.events = &host.events();
    const FakeConverterScope scope(script);
    EXPECT_EQ(run_conversion(host.callbacks(), host.context(), &test::make_fake_converter),
              row.result);
    EXPECT_EQ(host.requested(), row.requested);
    const std::vector<std::string> expected_events =
        with_report ? std::vector<std::string>{"report:" + row.message}
                    : std::vector<std::string>{};
    EXPECT_EQ(host.events(), expected_events);
  }
}

INSTANTIATE_TEST_SUITE_P(Fields, DriverRefusal, ::testing::ValuesIn(refusals()));

// Values at the edge of each range are accepted.
TEST_F(ConversionDriver, AcceptsLimitsAndHighBytesInFontName) {
  host_.answer(FieldInputPath, "in.bmp");
  host_.answer(FieldAllowedBlankColumns, "0xFF");
  host_.answer(FieldFirstGlyph, "0xffff");
  host_.answer(FieldFontName, "Caf\xC3\xA9 ~");
  EXPECT_EQ(run(), ResultCode::kOk);
  EXPECT_EQ(only_call().options.allowed_blank_columns, 255);
  EXPECT_EQ(only_call().options.first_glyph, 65535);
  EXPECT_EQ(only_call().font_name, "Caf\xC3\xA9 ~");
}

TEST_F(ConversionDriver, AcceptsOutputPathOfTwoHundredFiftyNineCharacters) {
  host_.answer(FieldInputPath, "in.bmp");
  host_.answer(FieldOutputPath, kPath259);
  EXPECT_EQ(run(), ResultCode::kOk);
  EXPECT_EQ(only_call().output_path, kPath259);
}

struct FixedWidthCase {
  ScriptedAnswer answer;
  std::uint8_t fixed_width;
};

void PrintTo(const FixedWidthCase& row, std::ostream* out) {
  test::print_label(out, {"result", std::to_string(to_int(row.answer.result)), "text",
                          row.answer.text, row.answer.terminated ? "terminated" : "unterminated"});
}

class DriverFixedWidth : public ::testing::TestWithParam<FixedWidthCase> {};

TEST_P(DriverFixedWidth, NeverRefusesTheFlag) {
  ScriptedHost host;
  host.answer(FieldInputPath, "in.bmp");
  host.answer(FieldFixedWidth, GetParam().answer);
  FakeConverterScript script;
  const FakeConverterScope scope(script);
  EXPECT_EQ(run_conversion(host.callbacks(), host.context(), &test::make_fake_converter),
            ResultCode::kOk);
  ASSERT_EQ(script.calls.size(), 1u);
  EXPECT_EQ(script.calls[0].options.fixed_width, GetParam().fixed_width);
  EXPECT_EQ(host.events(), (std::vector<std::string>{"begin_busy", "end_busy"}));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DriverFixedWidth,
    ::testing::Values(FixedWidthCase{text("1"), 1}, FixedWidthCase{text("2"), 1},
                      FixedWidthCase{text("0x10"), 1}, FixedWidthCase{text("0"), 0},
                      FixedWidthCase{text("abc"), 0}, FixedWidthCase{text(""), 0},
                      FixedWidthCase{text("4294967296"), 0},
                      FixedWidthCase{ScriptedAnswer{FieldAnswer::kNotSupplied, "1"}, 0},
                      FixedWidthCase{ScriptedAnswer{FieldAnswer::kSupplied, "", false}, 0}));

struct DetailCase {
  std::int32_t detail;
  const char* message;
};

void PrintTo(const DetailCase& row, std::ostream* out) {
  test::print_label(out, {"detail", std::to_string(row.detail)});
}

class DriverDetailMessage : public ::testing::TestWithParam<DetailCase> {};

TEST_P(DriverDetailMessage, ReportsTheDetailsMessage) {
  ScriptedHost host;
  host.answer(FieldInputPath, "in.bmp");
  FakeConverterScript script;
  script.convert_result = ResultCode::kUnusableInput;
  script.convert_detail = GetParam().detail;
  const FakeConverterScope scope(script);
  EXPECT_EQ(run_conversion(host.callbacks(), host.context(), &test::make_fake_converter),
            ResultCode::kUnusableInput);
  EXPECT_EQ(host.events(),
            (std::vector<std::string>{"begin_busy", std::string("report:") + GetParam().message,
                                      "end_busy"}));
}

INSTANTIATE_TEST_SUITE_P(
    Details, DriverDetailMessage,
    ::testing::Values(DetailCase{-1, "Invalid Input File Type"},
                      DetailCase{-2, "Error in File Access During Operation"},
                      DetailCase{-3, "File Name Length is too long"},
                      DetailCase{-4, "File Data not supported at this time"},
                      DetailCase{-5, "Invalid or Unusable Input File Contents"},
                      DetailCase{-6, "Out of memory for this operation"},
                      DetailCase{-7, "Failed to generate font from bitmap bits"},
                      DetailCase{-8, "Font too large for its picture"},
                      DetailCase{0, "Error converting BMP to BDF"},
                      DetailCase{-9, "Error converting BMP to BDF"},
                      DetailCase{1, "Error converting BMP to BDF"}));

TEST_F(ConversionDriver, FailedConvertWithoutReportSlotKeepsItsResult) {
  host_.answer(FieldInputPath, "in.bmp");
  host_.drop_report_message();
  script_.convert_result = ResultCode::kNoGlyph;
  script_.convert_detail = to_int(ErrorDetail::kNoGlyph);
  EXPECT_EQ(run(), ResultCode::kNoGlyph);
  EXPECT_EQ(host_.events(),
            (std::vector<std::string>{"create", "begin_busy", "convert", "release", "end_busy"}));
}

}  // namespace
}  // namespace vellicor
