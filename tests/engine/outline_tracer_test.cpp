// The traced outlines of many bitmaps, random and chosen, checked against the
// bitmap without a rasteriser: every edge has ink on its right and paper on
// its left, every corner of the ink is a point (and nothing else is), the
// filled area is exactly the ink under both fill rules, and there is one
// clockwise outline per 4-connected group of pixels and an anticlockwise one
// round every hole.
#include "engine/font/outline_tracer.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace vellicor::test {
namespace {

// A bitmap drawn as rows, top first, '#' for ink, at the given BBX offsets.
GlyphBitmap bitmap_of(const std::vector<std::string>& rows, std::int64_t x_offset = 0,
                      std::int64_t y_offset = 0) {
  GlyphBitmap bitmap;
  bitmap.height = rows.size();
  bitmap.width = rows.empty() ? 0 : rows[0].size();
  bitmap.stride = (bitmap.width + 7) / 8;
  bitmap.x_offset = x_offset;
  bitmap.y_offset = y_offset;
  const auto stride = static_cast<std::size_t>(bitmap.stride);
  bitmap.lines.assign(stride * rows.size(), 0);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < rows[row].size(); ++column) {
      if (rows[row][column] == '#') {
        bitmap.lines[row * stride + column / 8] |= static_cast<std::uint8_t>(0x80U >> (column % 8));
      }
    }
  }
  return bitmap;
}

// The ink as a grid indexed in font pixels, paper all round.
class InkGrid {
 public:
  explicit InkGrid(const std::vector<std::string>& rows, int x_offset, int y_offset)
      : rows_(rows), x_offset_(x_offset), y_offset_(y_offset) {}
  // Pixel (x, y) covers [x, x + 1] x [y, y + 1] in font pixels.
  bool ink(int x, int y) const {
    const int column = x - x_offset_;
    const int row = static_cast<int>(rows_.size()) - 1 - (y - y_offset_);
    if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
    if (column < 0 || column >= static_cast<int>(rows_[row].size())) return false;
    return rows_[row][column] == '#';
  }
  int left() const { return x_offset_ - 1; }
  int bottom() const { return y_offset_ - 1; }
  int right() const { return x_offset_ + (rows_.empty() ? 0 : int(rows_[0].size())) + 1; }
  int top() const { return y_offset_ + static_cast<int>(rows_.size()) + 1; }

 private:
  std::vector<std::string> rows_;
  int x_offset_;
  int y_offset_;
};

// Groups of pixels of one kind (ink or paper) joined through edges, or
// also through corners; paper reaches round the whole grid.
int count_groups(const InkGrid& grid, bool of_ink, bool through_corners, bool bounded_only) {
  std::map<std::pair<int, int>, bool> seen;
  int groups = 0;
  for (int y = grid.bottom(); y < grid.top(); ++y) {
    for (int x = grid.left(); x < grid.right(); ++x) {
      if (grid.ink(x, y) != of_ink || seen[{x, y}]) continue;
      bool bounded = true;
      std::vector<std::pair<int, int>> stack{{x, y}};
      seen[{x, y}] = true;
      while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        if (px == grid.left() || py == grid.bottom() || px == grid.right() - 1 ||
            py == grid.top() - 1) {
          bounded = false;
        }
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            if ((dx == 0) == (dy == 0) && !(through_corners && dx != 0)) continue;
            const int nx = px + dx;
            const int ny = py + dy;
            if (nx < grid.left() || ny < grid.bottom() || nx >= grid.right() || ny >= grid.top())
              continue;
            if (grid.ink(nx, ny) != of_ink || seen[{nx, ny}]) continue;
            seen[{nx, ny}] = true;
            stack.push_back({nx, ny});
          }
        }
      }
      if (bounded || !bounded_only) ++groups;
    }
  }
  return groups;
}

std::pair<int, int> key(OutlinePoint point) { return {point.x, point.y}; }

// Twice the signed area (shoelace): negative for clockwise with y up.
std::int64_t twice_area(const Contour& contour) {
  std::int64_t sum = 0;
  const auto& points = contour.points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const OutlinePoint& a = points[i];
    const OutlinePoint& b = points[(i + 1) % points.size()];
    sum += std::int64_t{a.x} * b.y - std::int64_t{b.x} * a.y;
  }
  return sum;
}

void expect_outlines_of(const std::vector<std::string>& rows, int x_offset = 0, int y_offset = 0) {
  std::string drawing;
  for (const std::string& row : rows) drawing += row + "\n";
  SCOPED_TRACE("bitmap at (" + std::to_string(x_offset) + ", " + std::to_string(y_offset) + "):\n" +
               drawing);
  const InkGrid grid(rows, x_offset, y_offset);
  std::vector<Contour> contours(3);  // stale contents must go
  trace_outline(bitmap_of(rows, x_offset, y_offset), contours);

  // Corners: grid points whose four pixels are not two and two side by
  // side; where two pixels touch diagonally, the point is a corner of both.
  std::map<std::pair<int, int>, int> corners_left;
  for (int y = grid.bottom() + 1; y < grid.top(); ++y) {
    for (int x = grid.left() + 1; x < grid.right(); ++x) {
      const bool ne = grid.ink(x, y), nw = grid.ink(x - 1, y);
      const bool se = grid.ink(x, y - 1), sw = grid.ink(x - 1, y - 1);
      const int inked = ne + nw + se + sw;
      if (inked % 2 == 1) corners_left[{x, y}] = 1;
      if (inked == 2 && ne == sw) corners_left[{x, y}] = 2;
    }
  }

  int clockwise = 0;
  int anticlockwise = 0;
  std::int64_t total_twice_area = 0;
  // Crossings of the ray from each pixel's centre to the right, for the fill
  // rules: winding sum and parity.
  std::map<std::pair<int, int>, int> winding;
  std::map<std::pair<int, int>, int> crossings;
  for (const Contour& contour : contours) {
    const auto& points = contour.points;
    ASSERT_GE(points.size(), 4U);
    std::map<std::pair<int, int>, int> visits;
    for (std::size_t i = 0; i < points.size(); ++i) {
      const OutlinePoint a = points[i];
      const OutlinePoint b = points[(i + 1) % points.size()];
      const OutlinePoint c = points[(i + 2) % points.size()];
      EXPECT_EQ(++visits[key(a)], 1) << "outline passes (" << a.x << ", " << a.y << ") twice";
      EXPECT_NE(corners_left[key(a)]--, 0) << "(" << a.x << ", " << a.y << ") is no corner";
      // Each edge along one axis, not empty, and the next edge across it.
      ASSERT_TRUE((a.x == b.x) != (a.y == b.y)) << "edge from (" << a.x << ", " << a.y << ")";
      EXPECT_TRUE((a.x == b.x) != (b.x == c.x)) << "no turn at (" << b.x << ", " << b.y << ")";
      // Walk the edge a pixel at a time: ink on the right, paper on the left.
      const int dx = (b.x > a.x) - (b.x < a.x);
      const int dy = (b.y > a.y) - (b.y < a.y);
      for (int x = a.x, y = a.y; x != b.x || y != b.y; x += dx, y += dy) {
        // The pixels either side of the unit step from (x, y).
        const int right_x = dy != 0 ? (dy > 0 ? x : x - 1) : (dx > 0 ? x : x - 1);
        const int right_y = dy != 0 ? (dy > 0 ? y : y - 1) : (dx > 0 ? y - 1 : y);
        const int left_x = dy != 0 ? (dy > 0 ? x - 1 : x) : right_x;
        const int left_y = dy != 0 ? right_y : (dx > 0 ? y : y - 1);
        EXPECT_TRUE(grid.ink(right_x, right_y)) << "paper right of (" << x << ", " << y << ")";
        EXPECT_FALSE(grid.ink(left_x, left_y)) << "ink left of (" << x << ", " << y << ")";
        if (dy != 0) {
          // A vertical step crosses the rays of the pixels on its left
          // along its row.
          const int row = dy > 0 ? y : y - 1;
          for (int px = grid.left(); px < x; ++px) {
            winding[{px, row}] += dy;
            ++crossings[{px, row}];
          }
        }
      }
    }
    const std::int64_t area = twice_area(contour);
    total_twice_area += area;
    (area < 0 ? clockwise : anticlockwise) += 1;
  }
  for (const auto& [point, left] : corners_left) {
    EXPECT_EQ(left, 0) << "corner (" << point.first << ", " << point.second << ") missed";
  }
  int ink_pixels = 0;
  for (int y = grid.bottom(); y < grid.top(); ++y) {
    for (int x = grid.left(); x < grid.right(); ++x) {
      const bool ink = grid.ink(x, y);
      ink_pixels += ink;
      // Going up on the left of a pixel... an outline with ink on its right
      // winds -1 round it (clockwise).
      EXPECT_EQ(winding[std::make_pair(x, y)], ink ? -1 : 0)
          << "winding at (" << x << ", " << y << ")";
      EXPECT_EQ(crossings[std::make_pair(x, y)] % 2 == 1, ink)
          << "parity at (" << x << ", " << y << ")";
    }
  }
  EXPECT_EQ(total_twice_area, -2 * ink_pixels);
  EXPECT_EQ(clockwise, count_groups(grid, true, false, false));
  // Every hole of paper joined also through corners has its outline, and
  // where a ring touches itself at a corner, its pocket has one too: at
  // most one per hole of paper joined through edges.
  EXPECT_GE(anticlockwise, count_groups(grid, false, true, true));
  EXPECT_LE(anticlockwise, count_groups(grid, false, false, true));
}

TEST(OutlineTracer, EmptyBitmapsHaveNoOutline) {
  std::vector<Contour> contours(2);
  trace_outline(GlyphBitmap{}, contours);  // a blank glyph: no box at all
  EXPECT_TRUE(contours.empty());
  trace_outline(bitmap_of({"....", "...."}), contours);
  EXPECT_TRUE(contours.empty());
}

TEST(OutlineTracer, OnePixelIsOneClockwiseSquareAtItsOffsets) {
  std::vector<Contour> contours;
  trace_outline(bitmap_of({"#"}, 3, -2), contours);
  ASSERT_EQ(contours.size(), 1U);
  const std::vector<std::pair<int, int>> square = {{3, -2}, {3, -1}, {4, -1}, {4, -2}};
  std::vector<std::pair<int, int>> points;
  for (const OutlinePoint& point : contours[0].points) points.emplace_back(point.x, point.y);
  // Any starting corner, but this order: up, right, down, left.
  const auto first = std::find(points.begin(), points.end(), square[0]);
  ASSERT_NE(first, points.end());
  std::rotate(points.begin(), first, points.end());
  EXPECT_EQ(points, square);
}

TEST(OutlineTracer, ChosenShapes) {
  const std::vector<std::vector<std::string>> shapes = {
      {"#"},
      {"####", "####", "####"},  // a full box: four corners only
      {"#.", ".#"},              // touching diagonally: two squares
      {".#", "#."},
      {"###", "#.#", "###"},                          // a hole
      {"##.", "#.#", "###"},                          // a ring touching itself at a corner
      {".#.", "#.#", ".#."},                          // four pixels round a diagonal-closed hole
      {"#.#.#", ".#.#.", "#.#.#", ".#.#.", "#.#.#"},  // a checkerboard
      {"#####", "#...#", "#.#.#", "#...#", "#####"},  // an island in a hole
      {"#######", "#.....#", "#.###.#", "#.#.#.#", "#.###.#", "#.....#", "#######"},
      {"##..", "##..", "..##", "..##"},  // blocks touching at one corner
      {"#..#", ".##.", ".##.", "#..#"},
      // Wider than a byte, so lines have more than one byte.
      {"#.........#.", "##########.#"},
  };
  for (const auto& shape : shapes) expect_outlines_of(shape, -1, 2);
}

TEST(OutlineTracer, RandomBitmaps) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 3000; ++round) {
    const int width = 1 + static_cast<int>(random() % 11);
    const int height = 1 + static_cast<int>(random() % 11);
    const auto density = random() % 101;  // percent of ink
    std::vector<std::string> rows(height, std::string(width, '.'));
    for (auto& row : rows) {
      for (char& pixel : row) {
        if (random() % 100 < density) pixel = '#';
      }
    }
    expect_outlines_of(rows, static_cast<int>(random() % 7) - 3,
                       static_cast<int>(random() % 7) - 3);
    if (::testing::Test::HasFailure()) break;  // one bitmap's failures are enough to read
  }
}

// One tracer kept across glyphs of every size, wider than its cell groups
// and its lines' bytes, gives what a fresh one gives: nothing of an earlier,
// larger glyph stays behind.
TEST(OutlineTracer, ReusedTracerMatchesFreshTracing) {
  std::mt19937 random(8122026);
  OutlineTracer tracer;
  Outline outline;
  for (int round = 0; round < 400; ++round) {
    const int width = 1 + static_cast<int>(random() % 40);
    const int height = 1 + static_cast<int>(random() % 12);
    const auto density = random() % 101;
    std::vector<std::string> rows(height, std::string(width, '.'));
    for (auto& row : rows) {
      for (char& pixel : row) {
        if (random() % 100 < density) pixel = '#';
      }
    }
    const GlyphBitmap bitmap = bitmap_of(rows, -5, 7);
    tracer.trace(bitmap, outline);
    std::vector<Contour> fresh;
    trace_outline(bitmap, fresh);
    ASSERT_EQ(outline.ends.size(), fresh.size()) << round;
    std::size_t at = 0;
    for (std::size_t c = 0; c < fresh.size(); ++c) {
      ASSERT_EQ(outline.ends[c] - at, fresh[c].points.size()) << round;
      for (const OutlinePoint& point : fresh[c].points) {
        EXPECT_EQ(key(outline.points[at]), key(point)) << round;
        ++at;
      }
    }
    if (::testing::Test::HasFailure()) break;
  }
  if (::testing::Test::HasFailure()) return;
  expect_outlines_of({"#.#.#.#.#.#.#.#.#.#.#", ".#.#.#.#.#.#.#.#.#.#.", "#####################"}, 0,
                     0);
}

// Corners past 32 bits are held at the nearest 32-bit value, not wrapped
// round into range, where a writer would take them for real places.
TEST(OutlineTracer, CornersPast32BitsStayOutOfRange) {
  constexpr std::int32_t kMost = INT32_MAX;
  constexpr std::int32_t kLeast = INT32_MIN;
  std::vector<Contour> contours;
  trace_outline(bitmap_of({"###"}, std::int64_t{kMost} - 1, std::int64_t{kLeast} - 1), contours);
  ASSERT_EQ(contours.size(), 1U);
  std::vector<std::pair<int, int>> points;
  for (const OutlinePoint& point : contours[0].points) points.emplace_back(point.x, point.y);
  const std::vector<std::pair<int, int>> held = {
      {kMost - 1, kLeast}, {kMost - 1, kLeast}, {kMost, kLeast}, {kMost, kLeast}};
  EXPECT_EQ(points, held);
  trace_outline(bitmap_of({"#", "#"}, std::int64_t{kLeast} - 3, std::int64_t{kMost}), contours);
  ASSERT_EQ(contours.size(), 1U);
  points.clear();
  for (const OutlinePoint& point : contours[0].points) points.emplace_back(point.x, point.y);
  EXPECT_EQ(points, (std::vector<std::pair<int, int>>{
                        {kLeast, kMost}, {kLeast, kMost}, {kLeast, kMost}, {kLeast, kMost}}));
}

}  // namespace
}  // namespace vellicor::test
