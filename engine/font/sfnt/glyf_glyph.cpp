// The simple-glyph record of the TrueType 'glyf' table (Apple's TrueType
// Reference Manual and the OpenType specification agree on it): contour
// count, box, end points, instructions, then flags and x and y steps, each
// point's coordinates stored as the step from the point before it.
//
// A font's glyf table is mostly these records, so one pass over the points
// checks the limits and codes flags and steps into the encoder's own
// buffers, and the record then goes into space made for it in one go.
#include "engine/font/sfnt/glyf_glyph.hpp"

#include <algorithm>
#include <cstring>
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

// numberOfContours and the box, then after the end points instructionLength.
constexpr std::size_t kHeaderBytes = 10;
constexpr std::size_t kInstructionLengthBytes = 2;
constexpr std::size_t kEndPointBytes = 2;

bool fits_int16(std::int64_t value) {
  return value >= std::numeric_limits<std::int16_t>::min() &&
         value <= std::numeric_limits<std::int16_t>::max();
}

// One coordinate step's flag bits and stored bytes, found without branches
// on the step's size: the steps of traced glyphs come in random sizes, which
// a processor guessing branches gets wrong half the time.
struct CodedStep {
  std::uint8_t flag;
  std::uint8_t length;    // bytes stored: none for no step, one if short, else two
  std::uint8_t bytes[2];  // the first length of them
};

CodedStep code_step(std::int64_t step, std::uint8_t short_bit, std::uint8_t same_or_positive) {
  const std::int64_t size = step < 0 ? -step : step;
  const bool none = step == 0;
  const bool small = !none && size <= kShortStepLimit;
  const auto bits = static_cast<std::uint16_t>(step);
  CodedStep coded{};
  coded.flag = static_cast<std::uint8_t>((none ? same_or_positive : 0) | (small ? short_bit : 0) |
                                         (small && step > 0 ? same_or_positive : 0));
  coded.length = static_cast<std::uint8_t>(none ? 0 : small ? 1 : 2);
  coded.bytes[0] = small ? static_cast<std::uint8_t>(size) : static_cast<std::uint8_t>(bits >> 8);
  coded.bytes[1] = static_cast<std::uint8_t>(bits & 0xFF);
  return coded;
}

// Stores both bytes of step at at (there is room) and moves on past the
// ones that count.
std::uint8_t* put_step(std::uint8_t* at, const CodedStep& step) {
  at[0] = step.bytes[0];
  at[1] = step.bytes[1];
  return at + step.length;
}

std::uint8_t* put16(std::uint8_t* at, std::int64_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  at[0] = static_cast<std::uint8_t>(bits >> 8);
  at[1] = static_cast<std::uint8_t>(bits & 0xFF);
  return at + 2;
}

// Every contour has points: each end lies past the one before.
bool no_empty_contour(const Outline& outline) {
  std::size_t begin = 0;
  for (const std::size_t end : outline.ends) {
    if (end <= begin) return false;
    begin = end;
  }
  return true;
}

}  // namespace

bool GlyfGlyphEncoder::code_points(const Outline& outline, std::uint32_t units_per_pixel,
                                   GlyfBounds& bounds) {
  const std::size_t count = outline.points.size();
  if (units_per_pixel == 0 || outline.ends.size() > kGlyfMostContours || count > kGlyfMostPoints ||
      !no_empty_contour(outline)) {
    return false;
  }
  flags_.resize(count);
  // Room for two bytes of every step, and for the last step's second byte.
  x_steps_.resize(2 * count);
  y_steps_.resize(2 * count);
  std::uint8_t* x_at = x_steps_.data();
  std::uint8_t* y_at = y_steps_.data();
  std::int64_t x_min = std::numeric_limits<std::int64_t>::max();
  std::int64_t y_min = x_min;
  std::int64_t x_max = std::numeric_limits<std::int64_t>::min();
  std::int64_t y_max = x_max;
  std::int64_t last_x = 0;
  std::int64_t last_y = 0;
  for (std::size_t i = 0; i < count; ++i) {
    // 32-bit coordinate times 32-bit scale fits 64 bits.
    const std::int64_t x = static_cast<std::int64_t>(outline.points[i].x) * units_per_pixel;
    const std::int64_t y = static_cast<std::int64_t>(outline.points[i].y) * units_per_pixel;
    const std::int64_t dx = x - last_x;
    const std::int64_t dy = y - last_y;
    if (!fits_int16(x) || !fits_int16(y) || !fits_int16(dx) || !fits_int16(dy)) return false;
    const CodedStep x_step = code_step(dx, kXShort, kXSameOrPositive);
    const CodedStep y_step = code_step(dy, kYShort, kYSameOrPositive);
    flags_[i] = static_cast<std::uint8_t>(kOnCurve | x_step.flag | y_step.flag);
    x_at = put_step(x_at, x_step);
    y_at = put_step(y_at, y_step);
    x_min = std::min(x_min, x);
    x_max = std::max(x_max, x);
    y_min = std::min(y_min, y);
    y_max = std::max(y_max, y);
    last_x = x;
    last_y = y;
  }
  x_steps_.resize(static_cast<std::size_t>(x_at - x_steps_.data()));
  y_steps_.resize(static_cast<std::size_t>(y_at - y_steps_.data()));
  bounds.x_min = static_cast<std::int16_t>(x_min);
  bounds.y_min = static_cast<std::int16_t>(y_min);
  bounds.x_max = static_cast<std::int16_t>(x_max);
  bounds.y_max = static_cast<std::int16_t>(y_max);
  bounds.points = static_cast<std::uint16_t>(count);
  bounds.contours = static_cast<std::uint16_t>(outline.ends.size());
  return true;
}

// A run never codes to more bytes than it holds flags, so the packed flags
// never overtake the ones still to read.
std::size_t GlyfGlyphEncoder::pack_flags() {
  std::size_t packed = 0;
  for (std::size_t i = 0; i < flags_.size();) {
    const std::uint8_t flag = flags_[i];
    std::size_t run = 1;
    while (i + run < flags_.size() && run <= kMostRepeats && flags_[i + run] == flag) ++run;
    if (run >= kShortestRepeat) {
      flags_[packed++] = static_cast<std::uint8_t>(flag | kRepeat);
      flags_[packed++] = static_cast<std::uint8_t>(run - 1);
    } else {
      for (std::size_t copy = 0; copy < run; ++copy) flags_[packed++] = flag;
    }
    i += run;
  }
  return packed;
}

bool GlyfGlyphEncoder::append(const Outline& outline, std::uint32_t units_per_pixel,
                              std::vector<std::uint8_t>& out, GlyfBounds& bounds) {
  if (outline.ends.empty()) {
    bounds = GlyfBounds{};
    return true;
  }
  GlyfBounds found;
  if (!code_points(outline, units_per_pixel, found)) return false;
  const std::size_t flag_bytes = pack_flags();

  const std::size_t start = out.size();
  out.resize(start + kHeaderBytes + kEndPointBytes * outline.ends.size() + kInstructionLengthBytes +
             flag_bytes + x_steps_.size() + y_steps_.size());
  std::uint8_t* at = out.data() + start;
  at = put16(at, found.contours);
  at = put16(at, found.x_min);
  at = put16(at, found.y_min);
  at = put16(at, found.x_max);
  at = put16(at, found.y_max);
  for (const std::size_t end : outline.ends) at = put16(at, static_cast<std::int64_t>(end) - 1);
  at = put16(at, 0);  // instructionLength
  std::memcpy(at, flags_.data(), flag_bytes);
  at += flag_bytes;
  std::memcpy(at, x_steps_.data(), x_steps_.size());
  at += x_steps_.size();
  std::memcpy(at, y_steps_.data(), y_steps_.size());
  bounds = found;
  return true;
}

bool append_glyf_glyph(const Outline& outline, std::uint32_t units_per_pixel,
                       std::vector<std::uint8_t>& out, GlyfBounds& bounds) {
  GlyfGlyphEncoder encoder;
  return encoder.append(outline, units_per_pixel, out, bounds);
}

}  // namespace vellicor
