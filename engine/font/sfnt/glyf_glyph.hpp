// One outline glyph as a TrueType 'glyf' table record.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/outline_tracer.hpp"

namespace vellicor {

// What a glyph's record states, for the tables that gather them (head's
// box, maxp's largest point and contour counts). All zero for an empty glyph.
struct GlyfBounds {
  std::int16_t x_min = 0, y_min = 0, x_max = 0, y_max = 0;
  std::uint16_t points = 0, contours = 0;
};

// Appends to out the simple-glyph record of contours, their coordinates
// multiplied by units_per_pixel, all points on the curve, no instructions,
// unpadded; sets bounds. No contours: appends nothing (a glyph without
// outline has an empty 'glyf' entry). Returns false, with out and bounds
// unchanged, when the glyph cannot be stored: a coordinate or a step between
// points outside 16 bits, more than 65,535 points or 32,767 contours, or a
// contour without points.
[[nodiscard]] bool append_glyf_glyph(const std::vector<Contour>& contours,
                                     std::uint32_t units_per_pixel, std::vector<std::uint8_t>& out,
                                     GlyfBounds& bounds);

}  // namespace vellicor
