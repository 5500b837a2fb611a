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
#include <array>
#include <bit>
#include <cstring>
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

// The ink of the four pixels around a grid point as four bits.
constexpr unsigned kNorthWest = 8;
constexpr unsigned kNorthEast = 4;
constexpr unsigned kSouthWest = 2;
constexpr unsigned kSouthEast = 1;
constexpr unsigned kInkPatterns = 16;

// A grid point's byte for each pattern of ink around it.
constexpr std::array<std::uint8_t, kInkPatterns> point_cells() {
  std::array<std::uint8_t, kInkPatterns> cells{};
  for (unsigned ink = 0; ink < kInkPatterns; ++ink) {
    const bool north_west = (ink & kNorthWest) != 0;
    const bool north_east = (ink & kNorthEast) != 0;
    const bool south_west = (ink & kSouthWest) != 0;
    const bool south_east = (ink & kSouthEast) != 0;
    std::uint8_t cell = 0;
    if (north_east && !north_west) cell |= kUp;
    if (south_east && !north_east) cell |= kRight;
    if (south_west && !south_east) cell |= kDown;
    if (north_west && !south_west) cell |= kLeft;
    if (north_east == south_west && north_west == south_east && north_east != north_west) {
      cell |= kTwoWay;
    }
    cells[ink] = cell;
  }
  return cells;
}

// Cells are made four at a time: points x to x + 3 (x a multiple of four)
// lie between pixels x - 1 and x + 3, five pixels of the row above and five
// of the row below, so one table look-up of those ten bits gives four cells.
constexpr std::size_t kGroup = 4;
constexpr unsigned kWindowBits = kGroup + 1;
constexpr unsigned kWindowMask = (1U << kWindowBits) - 1;
using CellGroup = std::array<std::uint8_t, kGroup>;

// The cells of a group for each pair of windows (above << 5 | below), the
// leftmost pixel in the high bit of each.
constexpr std::array<CellGroup, std::size_t{1} << (2 * kWindowBits)> group_cells() {
  const std::array<std::uint8_t, kInkPatterns> cells = point_cells();
  std::array<CellGroup, std::size_t{1} << (2 * kWindowBits)> groups{};
  for (unsigned windows = 0; windows < groups.size(); ++windows) {
    const unsigned above = windows >> kWindowBits;
    const unsigned below = windows & kWindowMask;
    for (unsigned k = 0; k < kGroup; ++k) {
      // Point k lies between pixels k - 1 and k of the group: window bits
      // 4 - k and 3 - k.
      const unsigned west = kGroup - k;
      const unsigned east = west - 1;
      const unsigned ink =
          ((above >> west) & 1U) * kNorthWest | ((above >> east) & 1U) * kNorthEast |
          ((below >> west) & 1U) * kSouthWest | ((below >> east) & 1U) * kSouthEast;
      groups[windows][k] = cells[ink];
    }
  }
  return groups;
}
constexpr std::array<CellGroup, std::size_t{1} << (2 * kWindowBits)> kGroupCells = group_cells();

// Pixels x - 1 to x + 3 of line (x a multiple of four), leftmost in the
// high bit, paper outside the line: before it, and past its stride bytes
// (the bits past the width within them are paper already).
unsigned pixel_window(const std::uint8_t* line, std::size_t stride, std::size_t x) {
  const std::size_t byte = x / kBitsPerByte;
  const unsigned here = byte < stride ? line[byte] : 0U;
  if (x % kBitsPerByte != 0) return here & kWindowMask;  // the low five bits
  const unsigned before = byte > 0 ? line[byte - 1] & 1U : 0U;
  return before << kGroup | here >> kGroup;
}

// The direction a quarter turn clockwise (with y up) from direction.
std::uint8_t right_turn(std::uint8_t direction) {
  return direction == kLeft ? kUp : static_cast<std::uint8_t>(direction << 1);
}

std::int32_t clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Whether offset to offset + length fits 32 bits.
bool fits_int32(std::int64_t offset, std::uint64_t length) {
  constexpr std::int64_t kLeast = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMost = std::numeric_limits<std::int32_t>::max();
  return offset >= kLeast && offset <= kMost &&
         length <= static_cast<std::uint64_t>(kMost - offset);
}

}  // namespace

void OutlineTracer::trace(const GlyphBitmap& bitmap, Outline& outline) {
  outline.clear();
  if (bitmap.width == 0 || bitmap.height == 0) return;
  row_points_ = static_cast<std::size_t>(bitmap.width) + 1;
  x_offset_ = bitmap.x_offset;
  y_offset_ = bitmap.y_offset;
  steps_[kUp] = static_cast<std::ptrdiff_t>(row_points_);
  steps_[kRight] = 1;
  steps_[kDown] = -static_cast<std::ptrdiff_t>(row_points_);
  steps_[kLeft] = -1;
  mark_edges(bitmap);
  for (std::size_t start = next_start(0); start < grid_points_; start = next_start(start)) {
    walk_from(start, outline);  // a two-way start can begin two loops: start stays
  }
  if (!fits_int32(x_offset_, bitmap.width) || !fits_int32(y_offset_, bitmap.height)) {
    clamp_far_points(outline);
  }
}

// Few grid points begin a loop, so the search for the next looks at eight
// cells at once while they have no edges left, and finds the first of eight
// that has without a branch per cell.
std::size_t OutlineTracer::next_start(std::size_t from) const {
  constexpr std::uint64_t kEdgesOfEight = 0x0101010101010101ULL * kEdges;
  const std::uint8_t* const grid = grid_.data();
  while (from + sizeof(std::uint64_t) <= grid_points_) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, grid + from, sizeof eight);
    eight &= kEdgesOfEight;
    if (eight != 0) {
      if constexpr (std::endian::native == std::endian::little) {
        return from + static_cast<std::size_t>(std::countr_zero(eight)) / kBitsPerByte;
      }
      break;
    }
    from += sizeof eight;
  }
  while (from < grid_points_ && (grid[from] & kEdges) == 0) ++from;
  return from;
}

// Offsets too far out for 32 bits stay out of range rather than wrap into
// it, so a writer's range check still refuses the glyph. Grid coordinates
// are below 2^32 (the box's sides are), so a place modulo 2^32 tells the
// true one.
void OutlineTracer::clamp_far_points(Outline& outline) const {
  const auto unwrap = [](std::int32_t place, std::int64_t offset) {
    const std::uint32_t grid =
        static_cast<std::uint32_t>(place) - static_cast<std::uint32_t>(offset);
    return clamp32(offset + static_cast<std::int64_t>(grid));
  };
  for (OutlinePoint& point : outline.points) {
    point = OutlinePoint{unwrap(point.x, x_offset_), unwrap(point.y, y_offset_)};
  }
}

// Point (x, y) of the grid is the corner of pixels x - 1 and x of rows
// y - 1 (below) and y (above); rows outside the box are paper. A row's last
// group may write past its end: the next row's cells, written next, or
// grid_'s slack past the last row.
void OutlineTracer::mark_edges(const GlyphBitmap& bitmap) {
  const auto stride = static_cast<std::size_t>(bitmap.stride);
  // Both only grow: every cell is written before it is read, and paper
  // stays paper.
  if (paper_.size() < stride) paper_.resize(stride, 0);
  grid_points_ = static_cast<std::size_t>(bitmap.height + 1) * row_points_;
  if (grid_.size() < grid_points_ + kGroup - 1) grid_.resize(grid_points_ + kGroup - 1);
  std::uint8_t* row = grid_.data();
  const std::uint8_t* below = paper_.data();
  for (std::uint64_t y = 0; y <= bitmap.height; ++y, row += row_points_) {
    const std::uint8_t* above =
        y < bitmap.height
            ? bitmap.lines.data() + static_cast<std::size_t>(bitmap.height - 1 - y) * stride
            : paper_.data();
    for (std::size_t x = 0; x < row_points_; x += kGroup) {
      const unsigned windows =
          pixel_window(above, stride, x) << kWindowBits | pixel_window(below, stride, x);
      std::memcpy(row + x, kGroupCells[windows].data(), kGroup);
    }
    below = above;
  }
}

// Walks edges from start until every loop through start that the walk
// enters is closed, handing each loop to outline as it closes. Only corners
// are kept: a point where the walk goes on straight is no corner of any
// loop, and every two-way point is one (edges arrive there across the two
// that leave). The common step, through a point with one edge out, stores
// the point and keeps it only if the walk turns there, without a branch
// that random ink would make the processor guess wrong.
void OutlineTracer::walk_from(std::size_t start, Outline& outline) {
  // Directions are single bits: the x and y step of each, modulo 2^32.
  constexpr std::array<std::uint32_t, kLeft + 1> kStepX = {0, 0, 1, 0, 0, 0, 0, 0, ~0U};
  constexpr std::array<std::uint32_t, kLeft + 1> kStepY = {0, 1, 0, 0, ~0U, 0, 0, 0, 0};
  // Local copies: the compiler cannot tell that the bytes written to the
  // grid leave the members alone, and would read them again every step.
  std::uint8_t* const grid = grid_.data();
  if (path_points_.empty()) grow_path();
  std::size_t* points = path_points_.data();
  OutlinePoint* places = path_places_.data();
  std::size_t* marked = marked_.data();
  std::size_t room = path_points_.size();
  std::size_t marks = 0;
  const std::array<std::ptrdiff_t, kLeft + 1> steps = steps_;
  auto x = static_cast<std::uint32_t>(x_offset_) + static_cast<std::uint32_t>(start % row_points_);
  auto y = static_cast<std::uint32_t>(y_offset_) + static_cast<std::uint32_t>(start / row_points_);
  const auto place = [&] {
    return OutlinePoint{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
  };
  // The first point with edges left is a corner: its loop's points before
  // and after it cannot both lie on a straight line through it, as one of
  // them would come before it in the grid and have edges left too.
  points[0] = start;
  places[0] = place();
  std::size_t corners = 1;
  if ((grid[start] & kTwoWay) != 0) {
    grid[start] |= kOnPath;
    marked[marks++] = 0;
  }
  const std::uint8_t edges = grid[start] & kEdges;
  std::uint8_t direction = edges & static_cast<std::uint8_t>(-edges);  // lowest edge
  std::size_t point = start;
  for (;;) {
    // The step below stores at corners (a two-way point, at marks too, which
    // is no more than corners) before it knows whether it keeps the point.
    if (corners == room) {
      grow_path();
      points = path_points_.data();
      places = path_places_.data();
      marked = marked_.data();
      room = path_points_.size();
    }
    grid[point] &= static_cast<std::uint8_t>(~direction);
    point += static_cast<std::size_t>(steps[direction]);
    x += kStepX[direction];
    y += kStepY[direction];
    const std::uint8_t cell = grid[point];
    if ((cell & (kOnPath | kTwoWay)) == 0 && point != start) {
      const std::uint8_t next = cell & kEdges;
      points[corners] = point;
      places[corners] = place();
      corners += next != direction ? 1 : 0;
      direction = next;
    } else if ((cell & kOnPath) != 0) {
      // Back at a two-way point: the corners since it left it form a loop.
      std::size_t mark = marks - 1;
      while (points[marked[mark]] != point) --mark;
      const std::size_t first = marked[mark];
      emit_loop(first, corners, outline);
      for (std::size_t i = mark + 1; i < marks; ++i) {
        grid[points[marked[i]]] &= static_cast<std::uint8_t>(~kOnPath);
      }
      marks = mark + 1;
      corners = first + 1;
      direction = right_turn(direction);
      // Only at start can the turn's edge be gone: the first step took it.
      if ((grid[point] & direction) == 0) break;
    } else if (point == start) {
      emit_loop(0, corners, outline);
      break;
    } else {  // a two-way point met for the first time
      grid[point] |= kOnPath;
      marked[marks++] = corners;
      direction = right_turn(direction);
      points[corners] = point;
      places[corners] = place();
      ++corners;
    }
  }
  for (std::size_t i = 0; i < marks; ++i) {
    grid[points[marked[i]]] &= static_cast<std::uint8_t>(~kOnPath);
  }
}

// The path grows as walks need it, not to the grid's size: a loop has a
// corner at most at every grid point, but most have only a few.
void OutlineTracer::grow_path() {
  constexpr std::size_t kLeastRoom = 64;
  const std::size_t room = std::max(kLeastRoom, 2 * path_points_.size());
  path_points_.resize(room);
  path_places_.resize(room);
  marked_.resize(room);
}

// The loop of corners [first, end) of the path as a contour.
void OutlineTracer::emit_loop(std::size_t first, std::size_t end, Outline& outline) const {
  const auto places = path_places_.begin();
  outline.points.insert(outline.points.end(), places + static_cast<std::ptrdiff_t>(first),
                        places + static_cast<std::ptrdiff_t>(end));
  outline.ends.push_back(outline.points.size());
}

void trace_outline(const GlyphBitmap& bitmap, std::vector<Contour>& contours) {
  OutlineTracer tracer;
  Outline outline;
  tracer.trace(bitmap, outline);
  contours.clear();
  std::size_t begin = 0;
  for (const std::size_t end : outline.ends) {
    contours.push_back(Contour{{outline.points.begin() + static_cast<std::ptrdiff_t>(begin),
                                outline.points.begin() + static_cast<std::ptrdiff_t>(end)}});
    begin = end;
  }
}

}  // namespace vellicor
