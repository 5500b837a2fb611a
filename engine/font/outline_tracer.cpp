// Traces the boundary between ink and paper along the pixel grid. Every unit
// edge of the grid with ink on exactly one side becomes a directed edge with
// the ink on its right, so at every grid point as many edges leave as arrive
// and the edges close into loops. Only where two pixels touch at a corner
// (ink at two diagonally opposite corners of the point, paper at the other
// two) do two edges leave one point; there the walk always turns right,
// which keeps close to the pixel it is going round and so keeps the
// diagonal pixels apart. A loop can still come back to such a point (a ring
// whose ends touch at a corner); it is then cut there into two loops, so no
// outline passes through a point twice.
#include "engine/font/outline_tracer.hpp"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace vellicor {

namespace {

// One byte per grid point: the edges still to walk that leave it, and two
// marks.
constexpr std::uint8_t kUp = 0x01;
constexpr std::uint8_t kRight = 0x02;
constexpr std::uint8_t kDown = 0x04;
constexpr std::uint8_t kLeft = 0x08;
constexpr std::uint8_t kEdges = kUp | kRight | kDown | kLeft;
// Two edges leave the point: pixels touch diagonally there.
constexpr std::uint8_t kTwoWay = 0x10;
// The point is on the loop being walked (marked at two-way points only, the
// only ones a loop can come back to).
constexpr std::uint8_t kOnPath = 0x20;

constexpr unsigned kBitsPerByte = 8;
constexpr unsigned kHighBit = 7;

// The direction a quarter turn clockwise (with y up) from direction.
std::uint8_t right_turn(std::uint8_t direction) {
  return direction == kLeft ? kUp : static_cast<std::uint8_t>(direction << 1);
}

class Tracer {
 public:
  explicit Tracer(const GlyphBitmap& bitmap)
      : bitmap_(bitmap),
        row_points_(static_cast<std::size_t>(bitmap.width) + 1),
        points_(static_cast<std::size_t>(bitmap.height + 1) * row_points_, 0) {}

  void trace(std::vector<Contour>& contours) {
    mark_edges();
    for (std::size_t start = 0; start < points_.size(); ++start) {
      // A two-way start can begin two loops.
      while ((points_[start] & kEdges) != 0) walk_from(start, contours);
    }
  }

 private:
  // Row row_up of the box (counted up from its bottom; paper outside it) as
  // one byte per pixel, with a pixel of paper on either side: ink of pixel
  // x at [x + 1].
  void unpack_row(std::int64_t row_up, std::vector<std::uint8_t>& ink) const {
    std::fill(ink.begin(), ink.end(), 0);
    if (row_up < 0 || row_up >= static_cast<std::int64_t>(bitmap_.height)) return;
    const auto line =
        static_cast<std::size_t>(bitmap_.height - 1 - static_cast<std::uint64_t>(row_up));
    const std::uint8_t* bits =
        bitmap_.lines.data() + line * static_cast<std::size_t>(bitmap_.stride);
    for (std::size_t x = 0; x < bitmap_.width; ++x) {
      ink[x + 1] = (bits[x / kBitsPerByte] >> (kHighBit - x % kBitsPerByte)) & 1U;
    }
  }

  // Point (x, y) of the grid is the corner of pixels x - 1 and x of rows
  // y - 1 (below) and y (above).
  void mark_edges() {
    std::vector<std::uint8_t> below(row_points_ + 1);
    std::vector<std::uint8_t> above(row_points_ + 1);
    std::size_t point = 0;
    for (std::uint64_t y = 0; y <= bitmap_.height; ++y) {
      below.swap(above);
      unpack_row(static_cast<std::int64_t>(y), above);
      for (std::size_t x = 0; x < row_points_; ++x, ++point) {
        const bool north_west = above[x] != 0;
        const bool north_east = above[x + 1] != 0;
        const bool south_west = below[x] != 0;
        const bool south_east = below[x + 1] != 0;
        std::uint8_t cell = 0;
        if (north_east && !north_west) cell |= kUp;
        if (south_east && !north_east) cell |= kRight;
        if (south_west && !south_east) cell |= kDown;
        if (north_west && !south_west) cell |= kLeft;
        if (north_east == south_west && north_west == south_east && north_east != north_west) {
          cell |= kTwoWay;
        }
        points_[point] = cell;
      }
    }
  }

  std::size_t step(std::size_t point, std::uint8_t direction) const {
    switch (direction) {
      case kUp:
        return point + row_points_;
      case kRight:
        return point + 1;
      case kDown:
        return point - row_points_;
      default:
        return point - 1;
    }
  }

  // Walks edges from start until every loop through start that the walk
  // enters is closed, handing each loop to contours as it closes.
  void walk_from(std::size_t start, std::vector<Contour>& contours) {
    path_.clear();
    path_.push_back(start);
    if ((points_[start] & kTwoWay) != 0) points_[start] |= kOnPath;
    const std::uint8_t edges = points_[start] & kEdges;
    std::uint8_t direction = edges & static_cast<std::uint8_t>(-edges);  // lowest edge
    std::size_t point = start;
    for (;;) {
      points_[point] &= static_cast<std::uint8_t>(~direction);
      point = step(point, direction);
      if ((points_[point] & kOnPath) != 0) {
        // Back at a two-way point: the steps since it left it form a loop.
        std::size_t first = path_.size() - 1;
        while (path_[first] != point) --first;
        emit_loop(first, contours);
        for (std::size_t i = first + 1; i < path_.size(); ++i) {
          points_[path_[i]] &= static_cast<std::uint8_t>(~kOnPath);
        }
        path_.resize(first + 1);
        direction = right_turn(direction);
        // Only at start can the turn's edge be gone: the first step took it.
        if ((points_[point] & direction) == 0) break;
      } else if (point == start) {
        emit_loop(0, contours);
        break;
      } else {
        path_.push_back(point);
        if ((points_[point] & kTwoWay) != 0) {
          points_[point] |= kOnPath;
          direction = right_turn(direction);
        } else {
          direction = points_[point] & kEdges;
        }
      }
    }
    for (const std::size_t on_path : path_) {
      points_[on_path] &= static_cast<std::uint8_t>(~kOnPath);
    }
  }

  // The loop path_[first..] (closing back to path_[first]) as a contour of
  // its corners.
  void emit_loop(std::size_t first, std::vector<Contour>& contours) const {
    const std::size_t count = path_.size() - first;
    Contour& contour = contours.emplace_back();
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t before = path_[first + (i + count - 1) % count];
      const std::size_t here = path_[first + i];
      const std::size_t after = path_[first + (i + 1) % count];
      // Unit steps: the same index difference is the same direction.
      if (here - before == after - here) continue;
      contour.points.push_back(font_point(here));
    }
  }

  OutlinePoint font_point(std::size_t point) const {
    const auto x = static_cast<std::int64_t>(point % row_points_) + bitmap_.x_offset;
    const auto y = static_cast<std::int64_t>(point / row_points_) + bitmap_.y_offset;
    // Offsets too far out for 32 bits stay out of range rather than wrap
    // into it, so a writer's range check still refuses the glyph.
    const auto clamp = [](std::int64_t value) {
      return static_cast<std::int32_t>(
          std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()));
    };
    return OutlinePoint{clamp(x), clamp(y)};
  }

  const GlyphBitmap& bitmap_;
  std::size_t row_points_;
  std::vector<std::uint8_t> points_;  // (width + 1) x (height + 1), bottom row first
  std::vector<std::size_t> path_;     // grid points of the loop being walked
};

}  // namespace

void trace_outline(const GlyphBitmap& bitmap, std::vector<Contour>& contours) {
  contours.clear();
  if (bitmap.width == 0 || bitmap.height == 0) return;
  Tracer(bitmap).trace(contours);
}

}  // namespace vellicor
