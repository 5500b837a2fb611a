// A pixel glyph as outlines: every ink pixel a unit square, the squares of
// each 4-connected group of pixels merged into one outline, for the outline
// formats (TrueType glyf) to scale and store.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/font/glyph_record.hpp"

namespace vellicor {

// A corner of an outline in font pixels: x to the right of the glyph origin,
// y up from the baseline.
struct OutlinePoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The closed outlines of one glyph, held flat so that a font's worth of
// glyphs reuses the same two arrays: contour i is points[ends[i - 1]] up to
// (not including) points[ends[i]] (from points[0] for the first), the last
// point joined back to the first (not repeated). Every point is a corner:
// consecutive points of a contour differ in exactly one coordinate and no
// point lies on the line through its neighbours.
struct Outline {
  std::vector<OutlinePoint> points;
  std::vector<std::size_t> ends;

  void clear() {
    points.clear();
    ends.clear();
  }
};

// Traces bitmaps into outlines. The ink lies on the right of every edge, as
// TrueType wants: an outer outline runs clockwise (y up), a hole's
// counter-clockwise. Each contour is a simple polygon; two contours never
// cross or share an edge, only corner points where pixels touch diagonally
// (pixels touching only at a corner belong to separate outlines), so nonzero
// and even-odd filling both give exactly the ink. Memory and time grow with
// the bitmap's box, not beyond; one tracer keeps its working memory from
// glyph to glyph (as large as the largest box traced), so tracing a font
// allocates nothing per glyph.
class OutlineTracer {
 public:
  // Replaces outline with the outlines of bitmap's ink.
  void trace(const GlyphBitmap& bitmap, Outline& outline);

 private:
  void mark_edges(const GlyphBitmap& bitmap);
  // The first grid point from from on with edges left (grid_points_ if
  // none).
  std::size_t next_start(std::size_t from) const;
  void walk_from(std::size_t start, Outline& outline);
  void grow_path();
  void emit_loop(std::size_t first, std::size_t end, Outline& outline) const;
  void clamp_far_points(Outline& outline) const;

  std::size_t row_points_ = 0;  // grid points across: width + 1
  std::int64_t x_offset_ = 0;   // the glyph box's offsets
  std::int64_t y_offset_ = 0;
  std::array<std::ptrdiff_t, 9> steps_{};  // grid index step of each direction bit
  std::size_t grid_points_ = 0;            // (width + 1) x (height + 1)
  std::vector<std::uint8_t> grid_;         // grid_points_ cells, bottom row first, then slack
  std::vector<std::uint8_t> paper_;        // a line of paper, for the rows around the box
  // The corners of the loop being walked: their grid points, and their
  // places in font pixels taken modulo 2^32 (clamp_far_points makes good
  // the ones that pass 32 bits).
  std::vector<std::size_t> path_points_;
  std::vector<OutlinePoint> path_places_;
  // Where on the path the two-way points marked kOnPath lie, in path
  // order: the only points a loop can come back to, and the only marks to
  // clear.
  std::vector<std::size_t> marked_;
};

// One contour on its own, for callers that look at contours one by one.
struct Contour {
  std::vector<OutlinePoint> points;
};

// Replaces contours with the outlines of bitmap's ink, traced as
// OutlineTracer traces them.
void trace_outline(const GlyphBitmap& bitmap, std::vector<Contour>& contours);

}  // namespace vellicor
