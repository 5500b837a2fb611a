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
#include <bit>
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

// A y flag bit is the x one shifted left once.
static_assert(kYShort == kXShort << 1 && kYSameOrPositive == kXSameOrPositive << 1);

// The x flag bits and bytes of one coordinate step. The steps of traced
// glyphs come in random sizes, so this is arithmetic on 0/1 values rather
// than conditions, which a processor guessing branches would get wrong half
// the time.
GlyfStepCode code_step(std::int32_t step) {
  const auto size = static_cast<std::uint32_t>(step < 0 ? -step : step);
  const unsigned none = step == 0 ? 1U : 0U;
  const unsigned small = size - 1U < static_cast<std::uint32_t>(kShortStepLimit) ? 1U : 0U;
  const unsigned positive = step > 0 ? 1U : 0U;
  const unsigned small_mask = 0U - small;
  const auto bits = static_cast<std::uint16_t>(step);
  GlyfStepCode code;
  code.flag = static_cast<std::uint8_t>(none * kXSameOrPositive | small * kXShort |
                                        (small & positive) * kXSameOrPositive);
  code.length = static_cast<std::uint8_t>((1U - none) * (2U - small));  // 0, 1 if short, else 2
  code.bytes[0] = static_cast<std::uint8_t>((size & small_mask) |
                                            (static_cast<unsigned>(bits >> 8) & ~small_mask));
  code.bytes[1] = static_cast<std::uint8_t>(bits & 0xFF);
  return code;
}

// Stores both bytes of code at at (which has room for two) and moves at past
// the ones that count.
void put_step(std::uint8_t*& at, const GlyfStepCode& code) {
  std::memcpy(at, code.bytes.data(), code.bytes.size());
  at += code.length;
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

bool GlyfGlyphEncoder::find_box(const Outline& outline, std::uint32_t units_per_pixel,
                                GlyfBounds& bounds) {
  const std::size_t count = outline.points.size();
  if (units_per_pixel == 0 || outline.ends.size() > kGlyfMostContours || count > kGlyfMostPoints ||
      !no_empty_contour(outline)) {
    return false;
  }
  std::int32_t x_min = std::numeric_limits<std::int32_t>::max();
  std::int32_t y_min = x_min;
  std::int32_t x_max = std::numeric_limits<std::int32_t>::min();
  std::int32_t y_max = x_max;
  for (const OutlinePoint& point : outline.points) {
    x_min = std::min(x_min, point.x);
    x_max = std::max(x_max, point.x);
    y_min = std::min(y_min, point.y);
    y_max = std::max(y_max, point.y);
  }
  // Scaling by a positive factor keeps the order, so the box's corners are
  // the extremes in font units too; 32 bits times 32 bits fits 64.
  const std::int64_t scaled[] = {
      std::int64_t{x_min} * units_per_pixel, std::int64_t{y_min} * units_per_pixel,
      std::int64_t{x_max} * units_per_pixel, std::int64_t{y_max} * units_per_pixel};
  for (const std::int64_t value : scaled) {
    if (!fits_int16(value)) return false;
  }
  bounds.x_min = static_cast<std::int16_t>(scaled[0]);
  bounds.y_min = static_cast<std::int16_t>(scaled[1]);
  bounds.x_max = static_cast<std::int16_t>(scaled[2]);
  bounds.y_max = static_cast<std::int16_t>(scaled[3]);
  bounds.points = static_cast<std::uint16_t>(count);
  bounds.contours = static_cast<std::uint16_t>(outline.ends.size());
  return true;
}

// Every point lies in bounds, so a step can pass 16 bits only when the box
// is wider or taller than 16 bits reach; only then is every step checked.
bool GlyfGlyphEncoder::steps_fit(const Outline& outline, std::uint32_t units_per_pixel,
                                 const GlyfBounds& bounds) {
  constexpr std::int32_t kMostStep = std::numeric_limits<std::int16_t>::max();
  if (bounds.x_max - bounds.x_min <= kMostStep && bounds.y_max - bounds.y_min <= kMostStep) {
    return true;
  }
  std::int64_t last_x = 0;
  std::int64_t last_y = 0;
  for (const OutlinePoint& point : outline.points) {
    const std::int64_t x = std::int64_t{point.x} * units_per_pixel;
    const std::int64_t y = std::int64_t{point.y} * units_per_pixel;
    if (!fits_int16(x - last_x) || !fits_int16(y - last_y)) return false;
    last_x = x;
    last_y = y;
  }
  return true;
}

// Steps of a few pixels, nearly all of a traced glyph's, are looked up.
void GlyfGlyphEncoder::make_step_codes(std::uint32_t units_per_pixel) {
  if (step_codes_units_ == units_per_pixel) return;
  for (std::int32_t pixels = -kStepCodeReach; pixels <= kStepCodeReach; ++pixels) {
    // Only steps within 16 bits are ever looked up; others may wrap here.
    const std::int32_t index = pixels + kStepCodeReach;
    step_codes_[static_cast<std::size_t>(index)] =
        code_step(static_cast<std::int32_t>(pixels * static_cast<std::int64_t>(units_per_pixel)));
  }
  step_codes_units_ = units_per_pixel;
}

GlyfStepCode GlyfGlyphEncoder::step_code(std::int32_t pixels, std::uint32_t units_per_pixel) const {
  const auto index = static_cast<std::uint32_t>(pixels + kStepCodeReach);
  if (index < step_codes_.size()) return step_codes_[index];
  return code_step(static_cast<std::int32_t>(pixels * static_cast<std::int64_t>(units_per_pixel)));
}

// With the box and steps checked, every coordinate and step fits 16 bits,
// in pixels as in font units (units_per_pixel is at least 1), and so 32-bit
// arithmetic.
void GlyfGlyphEncoder::code_points(const Outline& outline, std::uint32_t units_per_pixel) {
  make_step_codes(units_per_pixel);
  const std::size_t count = outline.points.size();
  // Room for two bytes of every step, and for the last step's second byte.
  // The buffers only grow: they are used up to counts kept apart from their
  // sizes, so their bytes are not cleared for every glyph.
  if (flags_.size() < count) flags_.resize(count);
  if (x_steps_.size() < 2 * count) {
    x_steps_.resize(2 * count);
    y_steps_.resize(2 * count);
  }
  // Local pointers: the compiler cannot tell that the bytes written do not
  // change the vectors, and would read them again for every point.
  const OutlinePoint* points = outline.points.data();
  std::uint8_t* flags = flags_.data();
  std::uint8_t* x_at = x_steps_.data();
  std::uint8_t* y_at = y_steps_.data();
  std::int32_t last_x = 0;
  std::int32_t last_y = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const GlyfStepCode x_step = step_code(points[i].x - last_x, units_per_pixel);
    const GlyfStepCode y_step = step_code(points[i].y - last_y, units_per_pixel);
    flags[i] = static_cast<std::uint8_t>(kOnCurve | x_step.flag | y_step.flag << 1U);
    put_step(x_at, x_step);
    put_step(y_at, y_step);
    last_x = points[i].x;
    last_y = points[i].y;
  }
  point_count_ = count;
  x_bytes_ = static_cast<std::size_t>(x_at - x_steps_.data());
  y_bytes_ = static_cast<std::size_t>(y_at - y_steps_.data());
}

// A run never codes to more bytes than it holds flags, so the packed flags
// never overtake the ones still to read. Runs worth a repeat count are rare
// in traced glyphs (their steps turn at every point, so flags alternate);
// a flag that does not begin one is copied as it stands, even when the next
// is the same: it is then written twice, as a run of two is.
std::size_t GlyfGlyphEncoder::pack_flags() {
  std::uint8_t* flags = flags_.data();
  const std::size_t count = point_count_;
  std::size_t packed = 0;
  for (std::size_t i = 0; i < count;) {
    const std::uint8_t flag = flags[i];
    if (i + kShortestRepeat > count || flags[i + 1] != flag || flags[i + 2] != flag) {
      flags[packed++] = flag;
      ++i;
      continue;
    }
    std::size_t run = kShortestRepeat;
    while (i + run < count && run <= kMostRepeats && flags[i + run] == flag) ++run;
    flags[packed++] = static_cast<std::uint8_t>(flag | kRepeat);
    flags[packed++] = static_cast<std::uint8_t>(run - 1);
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
  if (!find_box(outline, units_per_pixel, found) || !steps_fit(outline, units_per_pixel, found)) {
    return false;
  }
  code_points(outline, units_per_pixel);
  const std::size_t flag_bytes = pack_flags();

  const std::size_t start = out.size();
  const std::size_t size = start + kHeaderBytes + kEndPointBytes * outline.ends.size() +
                           kInstructionLengthBytes + flag_bytes + x_bytes_ + y_bytes_;
  // Room in whole powers of two: never more than twice the table's bytes,
  // whatever the sizes of the records that led up to it.
  if (out.capacity() < size) out.reserve(std::bit_ceil(size));
  out.resize(size);
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
  std::memcpy(at, x_steps_.data(), x_bytes_);
  at += x_bytes_;
  std::memcpy(at, y_steps_.data(), y_bytes_);
  bounds = found;
  return true;
}

bool append_glyf_glyph(const Outline& outline, std::uint32_t units_per_pixel,
                       std::vector<std::uint8_t>& out, GlyfBounds& bounds) {
  GlyfGlyphEncoder encoder;
  return encoder.append(outline, units_per_pixel, out, bounds);
}

}  // namespace vellicor
