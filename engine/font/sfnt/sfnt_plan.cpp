// The measuring pass of the sfnt writers.
#include "engine/font/sfnt/sfnt_plan.hpp"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "engine/font/font_glyph_bitmap.hpp"
#include "engine/font/glyph_record.hpp"
#include "engine/font/sfnt/bitmap_strike.hpp"

namespace vellicor {

namespace {

constexpr std::uint64_t kLastUnicode = 0x10FFFF;
constexpr std::uint64_t kCapitalH = 0x48;
constexpr std::uint64_t kSmallX = 0x78;
// The em the units are chosen for: as fine as TrueType's customary 2048
// units allow while every pixel is a whole number of units.
constexpr std::uint32_t kTargetUnitsPerEm = 2048;
constexpr std::int64_t kMostCoordinate = std::numeric_limits<std::int16_t>::max();

bool fits_int8(std::int64_t value) { return value >= -128 && value <= 127; }
constexpr std::uint64_t kMostByte = 255;

// How far above the baseline the bitmap's highest ink reaches, in pixels;
// 0 when it has none.
std::int32_t inked_top(const GlyphBitmap& bitmap) {
  for (std::uint64_t row = 0; row < bitmap.height; ++row) {
    const std::uint8_t* line = bitmap.lines.data() + row * bitmap.stride;
    if (std::any_of(line, line + bitmap.stride, [](std::uint8_t bits) { return bits != 0; })) {
      return static_cast<std::int32_t>(bitmap.y_offset + static_cast<std::int64_t>(bitmap.height) -
                                       static_cast<std::int64_t>(row));
    }
  }
  return 0;
}

// The font-wide figures that follow from the glyphs, and the unit.
void finish_plan(const FontModel& font, SfntPlan& plan, std::int64_t most_magnitude) {
  std::uint8_t common_advance = 0;
  plan.fixed_pitch = plan.glyphs.size() > 1;
  bool any_ink = false;
  for (std::size_t id = 1; id < plan.glyphs.size(); ++id) {
    const SfntGlyph& glyph = plan.glyphs[id];
    if (id == 1) common_advance = glyph.advance;
    plan.fixed_pitch = plan.fixed_pitch && glyph.advance == common_advance;
    if (glyph.width == 0 || glyph.height == 0) continue;
    const std::int32_t right = glyph.left + glyph.width;
    const std::int32_t bottom = glyph.top - glyph.height;
    plan.x_min = any_ink ? std::min<std::int32_t>(plan.x_min, glyph.left) : glyph.left;
    plan.x_max = any_ink ? std::max(plan.x_max, right) : right;
    plan.y_min = any_ink ? std::min(plan.y_min, bottom) : bottom;
    plan.y_max = any_ink ? std::max<std::int32_t>(plan.y_max, glyph.top) : glyph.top;
    any_ink = true;
  }
  // .notdef advances as every glyph does in a font of one advance, else as
  // far as the font is wide.
  plan.glyphs[0].advance = plan.fixed_pitch
                               ? common_advance
                               : static_cast<std::uint8_t>(std::min(font.frame().width, kMostByte));
  most_magnitude =
      std::max<std::int64_t>({most_magnitude, plan.glyphs[0].advance, plan.ascent, plan.descent,
                              std::abs(plan.x_min), plan.x_max, std::abs(plan.y_min), plan.y_max});
  // Every figure times the unit must fit 16 bits signed: a wide glyph in a
  // font of few lines takes a coarser unit than the em alone would allow.
  std::uint32_t unit = std::max<std::uint32_t>(1, kTargetUnitsPerEm / plan.pixel_size);
  if (most_magnitude > 0) {
    unit =
        std::min<std::uint32_t>(unit, static_cast<std::uint32_t>(kMostCoordinate / most_magnitude));
  }
  plan.units_per_pixel = std::max<std::uint32_t>(unit, 1);
}

}  // namespace

ErrorDetail plan_sfnt_font(const FontModel& font, const InkMap& map, SfntPlan& plan,
                           SfntBytes& ebdt) {
  const FontFrame& frame = font.frame();
  if (frame.height == 0 || frame.height > kMostByte || !fits_int8(frame.ascent) ||
      frame.descent > 128) {
    return ErrorDetail::kGlyphTooLarge;
  }
  plan.pixel_size = static_cast<std::uint32_t>(frame.height);
  plan.ascent = static_cast<std::int32_t>(frame.ascent);
  plan.descent = static_cast<std::int32_t>(frame.descent);
  const auto vertical_advance = static_cast<std::uint8_t>(plan.pixel_size);

  begin_ebdt(ebdt);
  plan.glyphs.assign(1, SfntGlyph{});
  append_strike_image(GlyphBitmap{}, plan.glyphs[0], vertical_advance, ebdt);

  GlyphBitmap bitmap;
  ErrorDetail problem = ErrorDetail::kNone;
  std::int64_t most_magnitude = 0;
  font.for_each_glyph([&](const FontGlyph& font_glyph) {
    // The glyphs past what glyph ids hold are left out (sfnt_left_out names them).
    if (plan.glyphs.size() == kSfntMostGlyphs) {
      return false;
    }
    font_glyph_bitmap(font, map, font_glyph, bitmap);
    const std::int64_t top = bitmap.y_offset + static_cast<std::int64_t>(bitmap.height);
    const std::int64_t right = bitmap.x_offset + static_cast<std::int64_t>(bitmap.width);
    const std::int64_t bottom = bitmap.y_offset;
    if (bitmap.width > kMostByte || bitmap.height > kMostByte || bitmap.advance > kMostByte ||
        !fits_int8(bitmap.x_offset) || !fits_int8(top)) {
      problem = ErrorDetail::kGlyphTooLarge;
      return false;
    }
    SfntGlyph glyph;
    glyph.code =
        font_glyph.code <= kLastUnicode ? static_cast<std::uint32_t>(font_glyph.code) : kSfntNoCode;
    glyph.width = static_cast<std::uint8_t>(bitmap.width);
    glyph.height = static_cast<std::uint8_t>(bitmap.height);
    glyph.advance = static_cast<std::uint8_t>(bitmap.advance);
    glyph.left = static_cast<std::int8_t>(bitmap.x_offset);
    glyph.top = static_cast<std::int8_t>(top);
    if (glyph.width == 0 || glyph.height == 0) glyph.width = glyph.height = 0;
    most_magnitude =
        std::max<std::int64_t>({most_magnitude, glyph.advance, std::abs(bitmap.x_offset),
                                std::abs(right), std::abs(top), std::abs(bottom)});
    if (font_glyph.code == kCapitalH) plan.cap_height = inked_top(bitmap);
    if (font_glyph.code == kSmallX) plan.x_height = inked_top(bitmap);
    append_strike_image(bitmap, glyph, vertical_advance, ebdt);
    plan.glyphs.push_back(glyph);
    return true;
  });
  if (problem != ErrorDetail::kNone) return problem;
  finish_plan(font, plan, most_magnitude);
  set_strike_advance(ebdt, kEbdtHeaderBytes, plan.glyphs[0].advance);
  return ErrorDetail::kNone;
}

}  // namespace vellicor
