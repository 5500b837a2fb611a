// The four ink rules on pictures that tell them apart: anti-aliased grey
// edges, glyphs on a transparent background, white glyphs on black.
#include "engine/picture/ink_rule.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/picture/png_reader.hpp"
#include "tests/engine/ink_map_text.hpp"
#include "tests/support/png_builder.hpp"

namespace vellicor {
namespace {

struct Swatch {
  char name;  // as drawn in the rows below
  std::uint8_t red, green, blue, alpha;
};

// clang-format off
const std::vector<Swatch> kSwatches = {
    {'#', 0, 0, 0, 255},        // black
    {'d', 64, 64, 64, 255},     // dark grey edge
    {'l', 200, 200, 200, 255},  // light grey edge
    {'h', 0, 0, 0, 100},        // black, mostly transparent: light once over white paper
    {'m', 0, 0, 0, 200},        // black, mostly opaque: dark over white
    {'r', 255, 0, 0, 255},      // red
    {'t', 0, 0, 0, 0},          // fully transparent
    {'.', 255, 255, 255, 255},  // white
};
// clang-format on

std::vector<std::uint8_t> png_of(const std::vector<std::string>& rows) {
  std::vector<std::uint8_t> pixels;
  for (const std::string& row : rows) {
    for (const char drawn : row) {
      for (const Swatch& swatch : kSwatches) {
        if (swatch.name == drawn) {
          pixels.insert(pixels.end(), {swatch.red, swatch.green, swatch.blue, swatch.alpha});
        }
      }
    }
  }
  return test::rgba_png(static_cast<std::uint32_t>(rows[0].size()),
                        static_cast<std::uint32_t>(rows.size()), pixels);
}

std::vector<std::string> read_rows(const std::vector<std::string>& drawn, InkRule rule) {
  const test::ReadPicture read = test::read_ink_bytes(png_of(drawn), rule);
  EXPECT_EQ(to_int(read.result), 0) << "detail " << to_int(read.detail);
  return test::ink_map_rows(read.map);
}

class InkRules : public testing::Test {
 protected:
  void SetUp() override {
    if (!png_support_built()) GTEST_SKIP() << "built without PNG support";
  }
};

TEST_F(InkRules, AntiAliasedEdgesOnWhite) {
  // Each swatch once, on a white strip that makes white the common colour.
  const std::vector<std::string> drawn = {"#dlhmrt........."};
  EXPECT_EQ(read_rows(drawn, InkRule::kBlack), (std::vector<std::string>{"#..............."}));
  // Pure red is dark too (luma 0.3).
  EXPECT_EQ(read_rows(drawn, InkRule::kDark), (std::vector<std::string>{"##..##.........."}));
  // Opaque white paper is as opaque as the glyphs: the rule is for
  // transparent backgrounds.
  EXPECT_EQ(read_rows(drawn, InkRule::kOpaque), (std::vector<std::string>{"###.##.#########"}));
  EXPECT_EQ(read_rows(drawn, InkRule::kAuto), (std::vector<std::string>{"#######........."}));
}

TEST_F(InkRules, GlyphsOnATransparentBackground) {
  // Red glyphs with translucent edges, as painted on a transparent layer.
  const std::vector<std::string> drawn = {"tttrrtt", "ttrhhrt", "tttrrtt"};
  EXPECT_EQ(read_rows(drawn, InkRule::kBlack), (std::vector<std::string>(3, ".......")));
  EXPECT_EQ(read_rows(drawn, InkRule::kOpaque),
            (std::vector<std::string>{"...##..", "..#..#.", "...##.."}));
  EXPECT_EQ(read_rows(drawn, InkRule::kAuto),
            (std::vector<std::string>{"...##..", "..####.", "...##.."}));
}

TEST_F(InkRules, WhiteGlyphsOnBlack) {
  const std::vector<std::string> drawn = {"##.##", "#.#.#", "#####"};
  const std::vector<std::string> glyphs = {"..#..", ".#.#.", "....."};
  EXPECT_EQ(read_rows(drawn, InkRule::kAuto), glyphs);
  // The fixed rules take the black background for ink.
  EXPECT_EQ(read_rows(drawn, InkRule::kBlack),
            (std::vector<std::string>{"##.##", "#.#.#", "#####"}));
}

TEST(InkRuleNumbers, OnlyTheFourRulesAreNamed) {
  InkRule rule = InkRule::kBlack;
  EXPECT_TRUE(ink_rule_from_number(3, rule));
  EXPECT_EQ(rule, InkRule::kAuto);
  EXPECT_FALSE(ink_rule_from_number(4, rule));
  EXPECT_EQ(rule, InkRule::kAuto);
}

TEST(CommonColour, ExactWithFewColoursAndFoundAmongMany) {
  CommonColourCounter few;
  few.add(7, 3);
  few.add(9, 5);
  few.add(7, 2);
  few.add(11, 5);
  EXPECT_EQ(few.most_common(), 7u);  // 5 each for 7, 9 and 11: the smallest key

  // Far more colours than counters, every one once, interleaved with paper
  // that covers a fifth of the picture.
  CommonColourCounter many;
  constexpr ColourKey kPaper = 0xFFFFFFFFFFFFFFFFu;
  for (ColourKey colour = 1; colour <= 40000; ++colour) {
    many.add(colour);
    if (colour % 4 == 0) many.add(kPaper);
  }
  EXPECT_EQ(many.most_common(), kPaper);
}

TEST(ColourKeys, StandForTheirPixelUnderEveryRule) {
  const std::vector<Rgba16> pixels = {{0, 0, 0, kFullChannel},
                                      {0x1234, 0x5678, 0x9ABC, 0xDEF0},
                                      {kFullChannel, 0, 0, 1},
                                      {0, 0, 0, 0},
                                      {0x8000, 0x8000, 0x8000, 0},
                                      {kFullChannel, 0, 0, 0x7FFF},
                                      {0x7F00, 0x7F00, 0x7F00, kFullChannel}};
  for (const Rgba16& pixel : pixels) {
    const ColourKey key = colour_key(pixel);
    const Rgba16 stood_for = colour_of_key(key);
    EXPECT_EQ(colour_key(stood_for), key);
    for (const InkRule rule : {InkRule::kBlack, InkRule::kDark, InkRule::kOpaque}) {
      EXPECT_EQ(is_ink_by_fixed_rule(rule, stood_for), is_ink_by_fixed_rule(rule, pixel))
          << std::hex << key << " rule " << static_cast<int>(rule);
    }
  }
  // Every transparent pixel is transparent black.
  const Rgba16 transparent = colour_of_key(0);
  EXPECT_EQ(transparent.alpha, 0);
  EXPECT_EQ(transparent.red, 0);
}

}  // namespace
}  // namespace vellicor
