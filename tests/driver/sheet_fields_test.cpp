// A sheet's layout fields: the texts of rows, cell sizes and pixel pairs, and
// the settings the driver makes of them for the engine.
#include "driver/sheet_fields.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/charset_names.hpp"
#include "driver/extended_request.hpp"
#include "driver/layout_names.hpp"
#include "tests/driver/scripted_host.hpp"

namespace vellicor {
namespace {

using test::ScriptedHost;

TEST(SheetFields, ReadRowsCellSizesAndPixelPairs) {
  std::uint32_t rows = 7;
  EXPECT_EQ(read_rows("3", rows), ResultCode::kOk);
  EXPECT_EQ(rows, 3u);
  EXPECT_EQ(read_rows("0x10", rows), ResultCode::kOk);
  EXPECT_EQ(rows, 16u);
  for (const char* refused : {"0", "", "0x", "-1", "2x", "4294967296"}) {
    EXPECT_EQ(read_rows(refused, rows), ResultCode::kBadArgument) << refused;
  }
  EXPECT_EQ(rows, 16u);

  NumberPair pair;
  EXPECT_EQ(read_cell_size("8x16", pair), ResultCode::kOk);
  EXPECT_EQ(pair.first, 8u);
  EXPECT_EQ(pair.second, 16u);
  for (const char* refused : {"0x16", "8x0", "8", "8x", "x16", "8X16", "8x16x", " 8x16", "8,16",
                              "0x8x16", "4294967296x1", "8x-1"}) {
    EXPECT_EQ(read_cell_size(refused, pair), ResultCode::kBadArgument) << refused;
  }
  EXPECT_EQ(pair.first, 8u);

  EXPECT_EQ(read_pixel_pair("0,0", pair), ResultCode::kOk);
  EXPECT_EQ(pair.first, 0u);
  EXPECT_EQ(read_pixel_pair("12,4294967295", pair), ResultCode::kOk);
  EXPECT_EQ(pair.first, 12u);
  EXPECT_EQ(pair.second, 4294967295u);
  for (const char* refused : {"1", "1,", ",1", "1,1,1", "1;1", "-1,0", "1, 1", "0x1,1"}) {
    EXPECT_EQ(read_pixel_pair(refused, pair), ResultCode::kBadArgument) << refused;
  }
  EXPECT_EQ(pair.second, 4294967295u);
}

TEST(SheetFields, LayoutKeywordsAndTheCharsetRefusalNameEveryChoice) {
  std::uint32_t layout = 99;
  EXPECT_EQ(parse_layout("marks", layout), ResultCode::kOk);
  EXPECT_EQ(layout, VELLICOR_LAYOUT_MARKS);
  EXPECT_EQ(parse_layout("Grid", layout), ResultCode::kBadArgument);
  EXPECT_EQ(std::string(layout_keyword(VELLICOR_LAYOUT_GRID)), "grid");
  const std::string refusal = message_text(Message::kInvalidCharset);
  for (const CharsetName& name : charset_names()) {
    EXPECT_NE(refusal.find(name.keyword), std::string::npos) << name.keyword;
  }
}

// read_extended_request with a host that answers the given fields.
struct ReadRequest {
  ResultCode result;
  ExtendedRequest request;
  Message refusal;
};

ReadRequest read_with(const std::vector<std::pair<FieldId, std::string>>& answers) {
  ScriptedHost host;
  for (const auto& [id, text] : answers) host.answer(id, text);
  ReadRequest read{ResultCode::kOk, {}, Message::kConversionFailed};
  read.result =
      read_extended_request(*host.callbacks(), host.context(), read.request, read.refusal);
  return read;
}

TEST(SheetFields, BecomeTheEnginesSettings) {
  ReadRequest read = read_with({{FieldLayout, "grid"},
                                {FieldGridCell, "8x16"},
                                {FieldGridOrigin, "3,2"},
                                {FieldGridGap, "1,0"},
                                {FieldProportional, "1"},
                                {FieldCharset, "cp437"}});
  ASSERT_EQ(read.result, ResultCode::kOk);
  const ConversionSettings& settings = read.request.settings;
  EXPECT_TRUE(read.request.any_supplied);
  EXPECT_EQ(settings.size, sizeof(ConversionSettings));
  EXPECT_EQ(settings.layout, VELLICOR_LAYOUT_GRID);
  EXPECT_EQ(settings.cell_width, 8u);
  EXPECT_EQ(settings.cell_height, 16u);
  EXPECT_EQ(settings.grid_origin_x, 3u);
  EXPECT_EQ(settings.grid_origin_y, 2u);
  EXPECT_EQ(settings.grid_gap_x, 1u);
  EXPECT_EQ(settings.grid_gap_y, 0u);
  EXPECT_EQ(settings.proportional, 1u);
  EXPECT_EQ(settings.charset, VELLICOR_CHARSET_CP437);
  EXPECT_EQ(settings.chars, nullptr);
  EXPECT_EQ(settings.rows, 0u);

  // Any one of them alone makes the run the extended conversion.
  read = read_with({{FieldRows, "4"}});
  ASSERT_EQ(read.result, ResultCode::kOk);
  EXPECT_TRUE(read.request.any_supplied);
  EXPECT_EQ(read.request.settings.rows, 4u);
  EXPECT_EQ(read.request.settings.layout, VELLICOR_LAYOUT_STRIP);
  read = read_with({{FieldProportional, "0"}});
  EXPECT_TRUE(read.request.any_supplied);
  EXPECT_EQ(read.request.settings.proportional, 0u);
}

TEST(SheetFields, EachRefusedFieldHasItsMessage) {
  const std::vector<std::pair<FieldId, Message>> cases = {
      {FieldLayout, Message::kInvalidLayout},     {FieldRows, Message::kInvalidRows},
      {FieldGridCell, Message::kInvalidGridCell}, {FieldGridOrigin, Message::kInvalidGridOrigin},
      {FieldGridGap, Message::kInvalidGridGap},   {FieldCharset, Message::kInvalidCharset},
  };
  for (const auto& [id, message] : cases) {
    const ReadRequest read = read_with({{id, "0"}});
    EXPECT_EQ(read.result, ResultCode::kBadArgument) << id;
    EXPECT_EQ(read.refusal, message) << id;
  }
  EXPECT_EQ(std::string(message_text(Message::kInvalidGridCell)),
            "Invalid Grid Cell Value: the cell's width and height in pixels, each 1 or more, as "
            "in 8x16");
}

}  // namespace
}  // namespace vellicor
