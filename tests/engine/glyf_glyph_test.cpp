// Glyph records read back by a small decoder written from the format's
// description, apart from the encoder: the points come back scaled, the box
// and counts are right, and records the format cannot hold are refused
// without a byte written.
#include "engine/font/sfnt/glyf_glyph.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/font/outline_tracer.hpp"

namespace vellicor::test {
namespace {

struct DecodedGlyph {
  std::int16_t contour_count = 0;
  std::int16_t x_min = 0, y_min = 0, x_max = 0, y_max = 0;
  std::vector<std::vector<OutlinePoint>> contours;
  bool all_on_curve = true;
};

// Decodes one simple-glyph record that must fill bytes exactly.
std::optional<DecodedGlyph> decode(const std::vector<std::uint8_t>& bytes) {
  std::size_t at = 0;
  bool short_read = false;
  const auto byte = [&]() -> std::uint8_t {
    if (at >= bytes.size()) {
      short_read = true;
      return 0;
    }
    return bytes[at++];
  };
  const auto u16 = [&]() {
    const unsigned high = byte();
    return static_cast<std::uint16_t>(high << 8 | byte());
  };
  const auto s16 = [&]() { return static_cast<std::int16_t>(u16()); };
  DecodedGlyph glyph;
  glyph.contour_count = s16();
  glyph.x_min = s16();
  glyph.y_min = s16();
  glyph.x_max = s16();
  glyph.y_max = s16();
  if (glyph.contour_count < 0) return std::nullopt;
  std::vector<int> ends;
  for (int i = 0; i < glyph.contour_count; ++i) ends.push_back(u16());
  at += u16();  // instructions
  const std::size_t point_count = ends.empty() ? 0 : static_cast<std::size_t>(ends.back()) + 1;
  std::vector<std::uint8_t> flags;
  while (flags.size() < point_count && !short_read) {
    const std::uint8_t flag = byte();
    int copies = 1 + ((flag & 0x08) != 0 ? byte() : 0);
    while (copies-- > 0) flags.push_back(flag);
  }
  if (flags.size() != point_count) return std::nullopt;
  std::vector<OutlinePoint> points(point_count);
  for (int axis = 0; axis < 2; ++axis) {
    const std::uint8_t short_bit = axis == 0 ? 0x02 : 0x04;
    const std::uint8_t same_bit = axis == 0 ? 0x10 : 0x20;
    std::int32_t value = 0;
    for (std::size_t i = 0; i < point_count; ++i) {
      if ((flags[i] & short_bit) != 0) {
        value += (flags[i] & same_bit) != 0 ? byte() : -byte();
      } else if ((flags[i] & same_bit) == 0) {
        value += s16();
      }
      (axis == 0 ? points[i].x : points[i].y) = value;
    }
  }
  if (short_read || at != bytes.size()) return std::nullopt;
  std::size_t first = 0;
  for (const int end : ends) {
    if (end < static_cast<int>(first)) return std::nullopt;
    glyph.contours.emplace_back(points.begin() + first, points.begin() + end + 1);
    first = static_cast<std::size_t>(end) + 1;
  }
  for (const std::uint8_t flag : flags) glyph.all_on_curve &= (flag & 0x01) != 0;
  return glyph;
}

Contour contour_of(std::vector<OutlinePoint> points) { return Contour{std::move(points)}; }

// append_glyf_glyph of the contours laid out flat.
bool append_contours(const std::vector<Contour>& contours, std::uint32_t units,
                     std::vector<std::uint8_t>& out, GlyfBounds& bounds) {
  Outline outline;
  for (const Contour& contour : contours) {
    outline.points.insert(outline.points.end(), contour.points.begin(), contour.points.end());
    outline.ends.push_back(outline.points.size());
  }
  return append_glyf_glyph(outline, units, out, bounds);
}

void expect_round_trip(const std::vector<Contour>& contours, std::uint32_t units) {
  std::vector<std::uint8_t> out = {0xAB};  // what is already there stays
  GlyfBounds bounds;
  ASSERT_TRUE(append_contours(contours, units, out, bounds));
  ASSERT_EQ(out[0], 0xAB);
  const auto glyph = decode(std::vector<std::uint8_t>(out.begin() + 1, out.end()));
  ASSERT_TRUE(glyph.has_value());
  EXPECT_TRUE(glyph->all_on_curve);
  ASSERT_EQ(glyph->contours.size(), contours.size());
  std::int32_t x_min = INT32_MAX, y_min = INT32_MAX, x_max = INT32_MIN, y_max = INT32_MIN;
  std::size_t points = 0;
  for (std::size_t c = 0; c < contours.size(); ++c) {
    ASSERT_EQ(glyph->contours[c].size(), contours[c].points.size());
    for (std::size_t p = 0; p < contours[c].points.size(); ++p) {
      const OutlinePoint want{contours[c].points[p].x * static_cast<std::int32_t>(units),
                              contours[c].points[p].y * static_cast<std::int32_t>(units)};
      EXPECT_EQ(glyph->contours[c][p].x, want.x) << c << "/" << p;
      EXPECT_EQ(glyph->contours[c][p].y, want.y) << c << "/" << p;
      x_min = std::min(x_min, want.x);
      y_min = std::min(y_min, want.y);
      x_max = std::max(x_max, want.x);
      y_max = std::max(y_max, want.y);
      ++points;
    }
  }
  EXPECT_EQ(glyph->x_min, x_min);
  EXPECT_EQ(glyph->y_min, y_min);
  EXPECT_EQ(glyph->x_max, x_max);
  EXPECT_EQ(glyph->y_max, y_max);
  EXPECT_EQ(bounds.x_min, x_min);
  EXPECT_EQ(bounds.y_min, y_min);
  EXPECT_EQ(bounds.x_max, x_max);
  EXPECT_EQ(bounds.y_max, y_max);
  EXPECT_EQ(bounds.points, points);
  EXPECT_EQ(bounds.contours, contours.size());
}

TEST(GlyfGlyph, TracedGlyphsComeBackScaled) {
  GlyphBitmap bitmap;
  bitmap.width = 12;
  bitmap.height = 4;
  bitmap.stride = 2;
  bitmap.x_offset = -2;
  bitmap.y_offset = -1;
  // A ring, a pixel in it, a pixel touching it diagonally, a long bar.
  bitmap.lines = {0xE4, 0x00, 0xA8, 0x00, 0xE0, 0x00, 0xFF, 0xF0};
  std::vector<Contour> contours;
  trace_outline(bitmap, contours);
  ASSERT_GE(contours.size(), 4U);
  for (const std::uint32_t units : {1U, 2U, 64U, 100U, 1000U}) {
    SCOPED_TRACE(units);
    expect_round_trip(contours, units);
  }
}

TEST(GlyfGlyph, StepsOfEverySizeAndLongRunsOfOneFlag) {
  // Steps of zero, one byte either way and two bytes either way, and a run
  // of identical flags longer than one repeat count holds.
  std::vector<OutlinePoint> points = {{0, 0},       {0, 255},  {256, 255},  {256, -300},
                                      {-255, -300}, {-255, 0}, {-32768, 0}, {-32768, 32767}};
  for (std::int32_t x = -32767; x < -32767 + 600; ++x) points.push_back({x, 32767});
  expect_round_trip({contour_of(points), contour_of({{5, 5}, {5, 6}, {6, 6}})}, 1);
}

TEST(GlyfGlyph, NoContoursWriteNothing) {
  std::vector<std::uint8_t> out = {1, 2};
  GlyfBounds bounds{1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(append_glyf_glyph(Outline{}, 64, out, bounds));
  EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(bounds.points, 0);
  EXPECT_EQ(bounds.contours, 0);
  EXPECT_EQ(bounds.x_max, 0);
}

TEST(GlyfGlyph, RefusesWhatTheFormatCannotHold) {
  const auto refused = [](const std::vector<Contour>& contours, std::uint32_t units) {
    std::vector<std::uint8_t> out = {7};
    GlyfBounds bounds{1, 2, 3, 4, 5, 6};
    const bool written = append_contours(contours, units, out, bounds);
    return !written && out == std::vector<std::uint8_t>{7} && bounds.points == 5;
  };
  const Contour square = contour_of({{0, 0}, {0, 1}, {1, 1}, {1, 0}});
  EXPECT_TRUE(refused({contour_of({{0, 0}, {0, 32768}, {1, 32768}})}, 1));
  EXPECT_TRUE(refused({contour_of({{0, -32769}, {1, 0}})}, 1));
  EXPECT_TRUE(refused({square}, 32768));  // in range only before scaling
  EXPECT_TRUE(refused({contour_of({{-20000, 0}, {20000, 0}, {20000, 1}})}, 1));  // step
  EXPECT_TRUE(refused({square, Contour{}}, 1));
  EXPECT_TRUE(refused({square}, 0));
  EXPECT_TRUE(refused(std::vector<Contour>(kGlyfMostContours + 1, contour_of({{2, 3}})), 1));
  std::vector<OutlinePoint> many(kGlyfMostPoints + 1, OutlinePoint{1, 1});
  EXPECT_TRUE(refused({contour_of(many)}, 1));
  // The most of each are written.
  many.pop_back();
  std::vector<std::uint8_t> out;
  GlyfBounds bounds;
  EXPECT_TRUE(append_contours({contour_of(many)}, 1, out, bounds));
  EXPECT_EQ(bounds.points, kGlyfMostPoints);
  EXPECT_TRUE(append_contours(std::vector<Contour>(kGlyfMostContours, contour_of({{2, 3}})), 1, out,
                              bounds));
  EXPECT_EQ(bounds.contours, kGlyfMostContours);
}

}  // namespace
}  // namespace vellicor::test
