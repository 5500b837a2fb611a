// The sheet options (--rows, --grid and its companions, --marks, --charset):
// from the command line through the console's fields to the settings the
// driver hands the engine, the pairs of options refused together, and the
// row and cell the listing adds.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "console/field_provider.hpp"
#include "console/glyph_listing.hpp"
#include "console/long_options.hpp"
#include "driver/extended_request.hpp"
#include "tests/console/argument_list.hpp"

namespace vellicor::console {
namespace {

// A scanned command line and its extended request; the texts point into the
// arguments, which live as long as it.
struct Scanned {
  std::unique_ptr<ArgumentList> arguments;
  LongOptionScan scan;
  LongOptions options;
  std::vector<char*> rest;
  ExtendedCommandLine request;
};

std::unique_ptr<Scanned> scan(const std::vector<std::string>& arguments) {
  auto result = std::make_unique<Scanned>();
  result->arguments = std::make_unique<ArgumentList>(arguments);
  result->scan = scan_command_line(result->arguments->line(), result->options, result->rest);
  result->request.line = {static_cast<int>(result->rest.size()), result->rest.data()};
  take_long_options(result->options, result->request);
  return result;
}

// The settings the driver reads through the console's callbacks. Their list
// lives in the driver's request, which ends here: chars receives a copy and
// the settings' pointer is cleared.
ConversionSettings settings_of(const std::vector<std::string>& arguments,
                               std::string* chars = nullptr) {
  const std::unique_ptr<Scanned> scanned = scan(arguments);
  EXPECT_TRUE(scanned->scan.ok) << scanned->scan.shown;
  ExtendedRequest extended;
  Message refusal = Message::kConversionFailed;
  EXPECT_EQ(
      read_extended_request(extended_console_callbacks(), &scanned->request, extended, refusal),
      ResultCode::kOk)
      << message_text(refusal);
  EXPECT_TRUE(extended.any_supplied);
  ConversionSettings settings = extended.settings;
  if (chars != nullptr) *chars = settings.chars != nullptr ? settings.chars : "(none)";
  settings.chars = nullptr;
  return settings;
}

TEST(SheetOptions, ReachTheEngineSettings) {
  std::string chars;
  ConversionSettings settings =
      settings_of({"--grid", "8x16", "-v", "0", "--grid-origin=2,3", "--grid-gap", "1,1",
                   "--proportional", "--charset", "cp1252", "chart.png"},
                  &chars);
  EXPECT_EQ(settings.layout, VELLICOR_LAYOUT_GRID);
  EXPECT_EQ(settings.cell_width, 8u);
  EXPECT_EQ(settings.cell_height, 16u);
  EXPECT_EQ(settings.grid_origin_x, 2u);
  EXPECT_EQ(settings.grid_origin_y, 3u);
  EXPECT_EQ(settings.grid_gap_x, 1u);
  EXPECT_EQ(settings.grid_gap_y, 1u);
  EXPECT_EQ(settings.proportional, 1u);
  EXPECT_EQ(settings.charset, VELLICOR_CHARSET_CP1252);
  EXPECT_EQ(chars, "(none)");
  EXPECT_EQ(settings.rows, 0u);

  settings = settings_of({"--marks", "--rows", "3", "--chars", "ab\ncd\nef", "sheet.png"}, &chars);
  EXPECT_EQ(settings.layout, VELLICOR_LAYOUT_MARKS);
  EXPECT_EQ(settings.rows, 3u);
  EXPECT_EQ(chars, "ab\ncd\nef");
  EXPECT_EQ(settings.cell_width, 0u);
  EXPECT_EQ(settings.proportional, 0u);

  settings = settings_of({"--rows=2", "sheet.png"});
  EXPECT_EQ(settings.layout, VELLICOR_LAYOUT_STRIP);
  EXPECT_EQ(settings.rows, 2u);
  EXPECT_EQ(settings.charset, VELLICOR_CHARSET_NONE);
}

TEST(SheetOptions, PairsThatDoNotGoTogetherAreRefused) {
  struct Case {
    std::vector<std::string> arguments;
    ConsoleMessage problem;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {{"--grid", "8x8", "--rows", "2", "s.png"}, ConsoleMessage::kGridWithRows, "--rows"},
      {{"--marks", "--grid", "8x8", "s.png"}, ConsoleMessage::kGridWithMarks, "--marks"},
      {{"--grid-origin", "1,1", "s.png"}, ConsoleMessage::kOnlyWithGrid, "--grid-origin"},
      {{"--rows", "2", "--grid-gap", "1,1", "s.png"}, ConsoleMessage::kOnlyWithGrid, "--grid-gap"},
      {{"--marks", "--proportional", "s.png"}, ConsoleMessage::kOnlyWithGrid, "--proportional"},
      {{"--chars", "ab", "--charset", "ascii", "s.png"},
       ConsoleMessage::kCharsetWithList,
       "--charset"},
      {{"--charset", "ascii", "--chars-file", "l.txt", "s.png"},
       ConsoleMessage::kCharsetWithList,
       "--charset"},
      {{"--marks", "--marks", "s.png"}, ConsoleMessage::kLongOptionTwice, "--marks"},
      {{"--grid", "--list", "s.png"}, ConsoleMessage::kLongOptionNeedsValue, "--grid"},
  };
  for (const Case& row : cases) {
    const std::unique_ptr<Scanned> scanned = scan(row.arguments);
    EXPECT_FALSE(scanned->scan.ok) << row.shown;
    EXPECT_EQ(scanned->scan.problem, row.problem) << row.shown;
    EXPECT_EQ(std::string(scanned->scan.shown == nullptr ? "" : scanned->scan.shown), row.shown);
  }
  EXPECT_STREQ(console_message_text(ConsoleMessage::kOnlyWithGrid),
               "This option goes with --grid only:");
}

// What print_glyph_line printed for glyph.
std::string listed(const ListingStyle& style, const GlyphInfo& glyph) {
  testing::internal::CaptureStdout();
  static_cast<void>(print_glyph_line(const_cast<ListingStyle*>(&style), &glyph));
  return testing::internal::GetCapturedStdout();
}

TEST(SheetOptions, ListingShowsRowAndCellForSheetsOnly) {
  const auto style_of = [](const std::vector<std::string>& arguments) {
    return listing_style_of(scan(arguments)->request);
  };
  EXPECT_FALSE(style_of({"--list", "s.png"}).with_places);
  EXPECT_FALSE(style_of({"--list", "--rows", "1", "s.png"}).with_places);
  EXPECT_TRUE(style_of({"--list", "--rows", "0x2", "s.png"}).with_places);
  EXPECT_TRUE(style_of({"--list", "--marks", "s.png"}).with_places);
  EXPECT_TRUE(style_of({"--list", "--grid", "8x8", "s.png"}).with_places);
  EXPECT_TRUE(style_of({"--list", "--charset", "ascii", "s.png"}).with_list);

  GlyphInfo glyph{};
  glyph.index = 1;
  glyph.code = 0x41;
  glyph.character = "A";
  glyph.first_column = 9;
  glyph.width = 5;
  glyph.advance = 8;
  glyph.band = 1;
  glyph.cell = 4;
  ListingStyle style;
  style.with_list = true;
  EXPECT_EQ(listed(style, glyph), "    1  U+0041    'A'           9     13      5        8\n");
  style.with_places = true;
  EXPECT_EQ(listed(style, glyph),
            "    1  U+0041    'A'           9     13      5        8  row 2, cell 5\n");
  glyph.index = 0;
  glyph.character = nullptr;
  glyph.unpaired = 1;
  EXPECT_EQ(listed(style, glyph),
            "index  code      char      first   last  width  advance  place\n"
            "    0  none      -             9     13      5        8  row 2, cell 5  (no "
            "character)\n");
}

}  // namespace
}  // namespace vellicor::console
