// The simple-glyph record of the TrueType 'glyf' table (Apple's TrueType
// Reference Manual and the OpenType specification agree on it): contour
// count, box, end points, instructions, then flags and x and y steps, each
// point's coordinates stored as the step from the point before it.
#include "engine/font/sfnt/glyf_glyph.hpp"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace vellicor {

namespace {

// Point flags.
constexpr std::uint8_t kOnCurve = 0x01;
constexpr std::uint8_t kXShort = 0x02;  // the x step is one unsigned byte
constexpr std::uint8_t kYShort = 0x04;
constexpr std::uint8_t kRepeat = 0x08;  // the next byte counts further points with this flag
// With kXShort: the byte is a positive step; without: no x step (the same x).
constexpr std::uint8_t kXSameOrPositive = 0x10;
constexpr std::uint8_t kYSameOrPositive = 0x20;

constexpr std::int64_t kShortStepLimit = std::numeric_limits<std::uint8_t>::max();
// A flag and its repeat count take two bytes, so runs of three or more pay.
constexpr std::size_t kShortestRepeat = 3;
constexpr std::size_t kMostRepeats = std::numeric_limits<std::uint8_t>::max();

bool fits_int16(std::int64_t value) {
  return value >= std::numeric_limits<std::int16_t>::min() &&
         value <= std::numeric_limits<std::int16_t>::max();
}

void put16(std::vector<std::uint8_t>& out, std::int64_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  out.push_back(static_cast<std::uint8_t>(bits >> 8));
  out.push_back(static_cast<std::uint8_t>(bits & 0xFF));
}

// The flag bits and stored bytes of one coordinate step.
std::uint8_t step_flag(std::int64_t step, std::uint8_t short_bit, std::uint8_t same_or_positive) {
  if (step == 0) return same_or_positive;
  if (step >= -kShortStepLimit && step <= kShortStepLimit) {
    return static_cast<std::uint8_t>(short_bit | (step > 0 ? same_or_positive : 0));
  }
  return 0;
}

void put_step(std::vector<std::uint8_t>& out, std::int64_t step, std::uint8_t flag,
              std::uint8_t short_bit) {
  if ((flag & short_bit) != 0) {
    out.push_back(static_cast<std::uint8_t>(step < 0 ? -step : step));
  } else if (step != 0) {
    put16(out, step);
  }
}

// Every point's coordinates in font units, checked against the format's
// limits.
bool scaled_points(const std::vector<Contour>& contours, std::uint32_t units_per_pixel,
                   std::vector<std::int64_t>& xs, std::vector<std::int64_t>& ys) {
  if (units_per_pixel == 0 || contours.size() > kGlyfMostContours) return false;
  std::size_t total = 0;
  for (const Contour& contour : contours) {
    if (contour.points.empty()) return false;
    total += contour.points.size();
    if (total > kGlyfMostPoints) return false;
  }
  xs.reserve(total);
  ys.reserve(total);
  std::int64_t last_x = 0;
  std::int64_t last_y = 0;
  for (const Contour& contour : contours) {
    for (const OutlinePoint& point : contour.points) {
      // 32-bit coordinate times 32-bit scale fits 64 bits.
      const std::int64_t x = static_cast<std::int64_t>(point.x) * units_per_pixel;
      const std::int64_t y = static_cast<std::int64_t>(point.y) * units_per_pixel;
      if (!fits_int16(x) || !fits_int16(y) || !fits_int16(x - last_x) || !fits_int16(y - last_y)) {
        return false;
      }
      xs.push_back(x);
      ys.push_back(y);
      last_x = x;
      last_y = y;
    }
  }
  return true;
}

}  // namespace

bool append_glyf_glyph(const std::vector<Contour>& contours, std::uint32_t units_per_pixel,
                       std::vector<std::uint8_t>& out, GlyfBounds& bounds) {
  if (contours.empty()) {
    bounds = GlyfBounds{};
    return true;
  }
  std::vector<std::int64_t> xs;
  std::vector<std::int64_t> ys;
  if (!scaled_points(contours, units_per_pixel, xs, ys)) return false;

  GlyfBounds found;
  found.x_min = static_cast<std::int16_t>(*std::min_element(xs.begin(), xs.end()));
  found.x_max = static_cast<std::int16_t>(*std::max_element(xs.begin(), xs.end()));
  found.y_min = static_cast<std::int16_t>(*std::min_element(ys.begin(), ys.end()));
  found.y_max = static_cast<std::int16_t>(*std::max_element(ys.begin(), ys.end()));
  found.points = static_cast<std::uint16_t>(xs.size());
  found.contours = static_cast<std::uint16_t>(contours.size());

  put16(out, found.contours);
  put16(out, found.x_min);
  put16(out, found.y_min);
  put16(out, found.x_max);
  put16(out, found.y_max);
  std::int64_t end_point = -1;
  for (const Contour& contour : contours) {
    end_point += static_cast<std::int64_t>(contour.points.size());
    put16(out, end_point);
  }
  put16(out, 0);  // instructionLength

  std::vector<std::uint8_t> flags(xs.size());
  for (std::size_t i = 0; i < xs.size(); ++i) {
    const std::int64_t dx = xs[i] - (i == 0 ? 0 : xs[i - 1]);
    const std::int64_t dy = ys[i] - (i == 0 ? 0 : ys[i - 1]);
    flags[i] = static_cast<std::uint8_t>(kOnCurve | step_flag(dx, kXShort, kXSameOrPositive) |
                                         step_flag(dy, kYShort, kYSameOrPositive));
  }
  for (std::size_t i = 0; i < flags.size();) {
    std::size_t run = 1;
    while (i + run < flags.size() && run <= kMostRepeats && flags[i + run] == flags[i]) ++run;
    if (run >= kShortestRepeat) {
      out.push_back(static_cast<std::uint8_t>(flags[i] | kRepeat));
      out.push_back(static_cast<std::uint8_t>(run - 1));
    } else {
      out.insert(out.end(), run, flags[i]);
    }
    i += run;
  }
  for (std::size_t i = 0; i < xs.size(); ++i) {
    put_step(out, xs[i] - (i == 0 ? 0 : xs[i - 1]), flags[i], kXShort);
  }
  for (std::size_t i = 0; i < ys.size(); ++i) {
    put_step(out, ys[i] - (i == 0 ? 0 : ys[i - 1]), flags[i], kYShort);
  }
  bounds = found;
  return true;
}

}  // namespace vellicor
