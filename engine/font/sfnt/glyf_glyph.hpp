// One outline glyph as a TrueType 'glyf' table record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/font/outline_tracer.hpp"

namespace vellicor {

// The most contours and points a glyph may hold. The format would take
// 32,767 contours (numberOfContours is signed) and 65,535 points (16-bit end
// point indices), but FreeType, which draws outline fonts on most Unix
// desktops, loads fewer: it refuses a simple glyph of 0xFFF contours or
// more, and its glyph loader holds at most 32,767 points, counting four
// phantom points and rounding up to a multiple of eight.
inline constexpr std::size_t kGlyfMostContours = 0xFFF - 1;
inline constexpr std::size_t kGlyfMostPoints = 32767 / 8 * 8 - 4;

// What a glyph's record states, for the tables that gather them (head's
// box, maxp's largest point and contour counts). All zero for an empty glyph.
struct GlyfBounds {
  std::int16_t x_min = 0, y_min = 0, x_max = 0, y_max = 0;
  std::uint16_t points = 0, contours = 0;
};

// How one coordinate step is stored: its flag bits (as for x), and the
// first length of bytes.
struct GlyfStepCode {
  std::uint8_t flag = 0;
  std::uint8_t length = 0;
  std::array<std::uint8_t, 2> bytes{};
};

// Writes simple-glyph records. One encoder keeps its working memory from
// glyph to glyph (as large as the glyph of most points), so encoding a font
// allocates nothing per glyph beyond the records themselves.
class GlyfGlyphEncoder {
 public:
  // Appends to out the simple-glyph record of outline, its coordinates
  // multiplied by units_per_pixel, all points on the curve, no
  // instructions, unpadded; sets bounds. No contours: appends nothing (a
  // glyph without outline has an empty 'glyf' entry). Returns false, with
  // out and bounds unchanged, when the glyph cannot be stored: a coordinate
  // or a step between points outside 16 bits, more points or contours than
  // FreeType loads (kGlyfMostPoints, kGlyfMostContours), a contour without
  // points, or no units per pixel.
  [[nodiscard]] bool append(const Outline& outline, std::uint32_t units_per_pixel,
                            std::vector<std::uint8_t>& out, GlyfBounds& bounds);

 private:
  // Checks outline's counts and box against the format's limits and finds
  // the box.
  static bool find_box(const Outline& outline, std::uint32_t units_per_pixel, GlyfBounds& bounds);
  // Whether every step between points, bounds given, fits 16 bits.
  static bool steps_fit(const Outline& outline, std::uint32_t units_per_pixel,
                        const GlyfBounds& bounds);
  // Codes every point's flag (into flags_) and x and y steps (x_steps_,
  // y_steps_), and sets the counts of each.
  void code_points(const Outline& outline, std::uint32_t units_per_pixel);
  // Run-length codes flags_ in place; returns the coded length.
  std::size_t pack_flags();
  // Fills step_codes_ for units_per_pixel.
  void make_step_codes(std::uint32_t units_per_pixel);
  // The code of a step of pixels pixels.
  GlyfStepCode step_code(std::int32_t pixels, std::uint32_t units_per_pixel) const;

  // The codes of steps of -kStepCodeReach to kStepCodeReach pixels, for
  // step_codes_units_ (0: not made yet).
  static constexpr std::int32_t kStepCodeReach = 127;
  std::array<GlyfStepCode, 2 * kStepCodeReach + 1> step_codes_{};
  std::uint32_t step_codes_units_ = 0;

  // The glyph being coded: the first point_count_ of flags_ (one per point,
  // then packed), x_bytes_ of x_steps_ and y_bytes_ of y_steps_.
  std::vector<std::uint8_t> flags_;
  std::vector<std::uint8_t> x_steps_;
  std::vector<std::uint8_t> y_steps_;
  std::size_t point_count_ = 0;
  std::size_t x_bytes_ = 0;
  std::size_t y_bytes_ = 0;
};

// append of a one-off encoder.
[[nodiscard]] bool append_glyf_glyph(const Outline& outline, std::uint32_t units_per_pixel,
                                     std::vector<std::uint8_t>& out, GlyfBounds& bounds);

}  // namespace vellicor
