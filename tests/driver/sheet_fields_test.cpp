// A sheet's layout fields: the texts of rows, cell sizes and pixel pairs, the
// keywords, and the refusal of each field.
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
  EXPECT_EQ(read_rows("65536", rows), ResultCode::kOk);
  EXPECT_EQ(rows, 65536u);
  for (const char* refused : {"0", "", "0x", "-1", "2x", "4294967296", "65537"}) {
    EXPECT_EQ(read_rows(refused, rows), ResultCode::kBadArgument) << refused;
  }
  EXPECT_EQ(rows, 65536u);

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
}

}  // namespace
}  // namespace vellicor
