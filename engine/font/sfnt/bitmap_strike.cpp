// EBDT images and the EBLC index of one strike.
#include "engine/font/sfnt/bitmap_strike.hpp"

#include <algorithm>

namespace vellicor {

namespace {

constexpr std::uint16_t kEbdtMajorVersion = 2;
constexpr std::uint16_t kEblcMajorVersion = 2;
constexpr std::uint16_t kIndexFormat = 1;  // variable metrics, 32-bit offsets
constexpr std::uint16_t kImageFormat = 7;  // big metrics, bit-aligned data
constexpr std::size_t kBigMetricsBytes = 8;
constexpr std::size_t kHorizontalAdvanceAt = 4;  // in the big metrics
constexpr std::size_t kBitmapSizeBytes = 48;
constexpr std::size_t kEblcHeaderBytes = 8;
constexpr std::size_t kSubtableArrayEntryBytes = 8;
constexpr std::size_t kSubtableHeaderBytes = 8;
constexpr std::uint8_t kBitDepth = 1;
constexpr std::int8_t kFlagsHorizontal = 1;

std::int8_t clamp8(std::int32_t value) {
  return static_cast<std::int8_t>(std::clamp(value, std::int32_t{-128}, std::int32_t{127}));
}

// The sbitLineMetrics of the strike for one direction.
void put_line_metrics(SfntBytes& out, const SfntPlan& plan) {
  std::uint8_t widest = 0;
  std::int32_t least_left = 0, least_right = 0, most_top = 0, least_bottom = 0;
  bool first = true;
  for (const SfntGlyph& glyph : plan.glyphs) {
    widest = std::max(widest, glyph.advance);
    if (glyph.width == 0 || glyph.height == 0) continue;
    const std::int32_t right = glyph.advance - (glyph.left + glyph.width);
    const std::int32_t bottom = glyph.top - glyph.height;
    least_left = first ? glyph.left : std::min<std::int32_t>(least_left, glyph.left);
    least_right = first ? right : std::min(least_right, right);
    most_top = first ? glyph.top : std::max<std::int32_t>(most_top, glyph.top);
    least_bottom = first ? bottom : std::min(least_bottom, bottom);
    first = false;
  }
  out.i8(clamp8(plan.ascent));
  out.i8(clamp8(-plan.descent));
  out.u8(widest);
  out.i8(1);  // caret slope: upright
  out.i8(0);
  out.i8(0);  // caret offset
  out.i8(clamp8(least_left));
  out.i8(clamp8(least_right));
  out.i8(clamp8(most_top));
  out.i8(clamp8(least_bottom));
  out.zeros(2);  // padding
}

}  // namespace

void begin_ebdt(SfntBytes& ebdt) {
  ebdt.u16(kEbdtMajorVersion);
  ebdt.u16(0);
}

std::size_t strike_image_bytes(const SfntGlyph& glyph) {
  return kBigMetricsBytes + (std::size_t{glyph.width} * glyph.height + 7) / 8;
}

void append_strike_image(const GlyphBitmap& bitmap, const SfntGlyph& glyph,
                         std::uint8_t vertical_advance, SfntBytes& ebdt) {
  ebdt.u8(glyph.height);
  ebdt.u8(glyph.width);
  ebdt.i8(glyph.left);
  ebdt.i8(glyph.top);
  ebdt.u8(glyph.advance);
  // Vertical metrics for a strike without vertical tables: the glyph
  // centred on the vertical origin, one line of the font down.
  ebdt.i8(static_cast<std::int8_t>(-(glyph.width / 2)));
  ebdt.i8(0);
  ebdt.u8(vertical_advance);
  // The rows one after another: each row's bits join the last row's
  // remaining bits, the leftmost pixel in the highest bit.
  std::uint32_t pending = 0;  // bits not yet a whole byte, in the low end
  unsigned pending_bits = 0;
  const std::uint8_t* line = bitmap.lines.data();
  for (std::uint32_t row = 0; row < glyph.height; ++row, line += bitmap.stride) {
    unsigned left = glyph.width;
    for (std::size_t at = 0; left > 0; ++at) {
      const unsigned bits = std::min(left, 8U);
      pending = (pending << bits) | (std::uint32_t{line[at]} >> (8 - bits));
      pending_bits += bits;
      left -= bits;
      if (pending_bits >= 8) {
        pending_bits -= 8;
        ebdt.u8(static_cast<std::uint8_t>(pending >> pending_bits));
        pending &= (1U << pending_bits) - 1;
      }
    }
  }
  if (pending_bits > 0) ebdt.u8(static_cast<std::uint8_t>(pending << (8 - pending_bits)));
}

void set_strike_advance(SfntBytes& ebdt, std::size_t image_offset, std::uint8_t advance) {
  ebdt.bytes()[image_offset + kHorizontalAdvanceAt] = advance;
}

SfntBytes make_eblc(const SfntPlan& plan) {
  const std::size_t glyph_count = plan.glyphs.size();
  const std::size_t array_offset = kEblcHeaderBytes + kBitmapSizeBytes;
  const std::size_t index_bytes =
      kSubtableArrayEntryBytes + kSubtableHeaderBytes + 4 * (glyph_count + 1);
  const auto last_glyph = static_cast<std::uint16_t>(glyph_count - 1);

  SfntBytes out;
  out.u16(kEblcMajorVersion);
  out.u16(0);
  out.u32(1);  // one strike
  // Its BitmapSize record.
  out.u32(static_cast<std::uint32_t>(array_offset));
  out.u32(static_cast<std::uint32_t>(index_bytes));
  out.u32(1);  // one index subtable
  out.u32(0);  // colorRef
  put_line_metrics(out, plan);
  put_line_metrics(out, plan);  // vertical: no vertical layout, the same figures
  out.u16(0);
  out.u16(last_glyph);
  out.u8(static_cast<std::uint8_t>(plan.pixel_size));
  out.u8(static_cast<std::uint8_t>(plan.pixel_size));
  out.u8(kBitDepth);
  out.i8(kFlagsHorizontal);
  // The index subtable array, then its one subtable.
  out.u16(0);
  out.u16(last_glyph);
  out.u32(kSubtableArrayEntryBytes);  // from the array's start
  out.u16(kIndexFormat);
  out.u16(kImageFormat);
  out.u32(static_cast<std::uint32_t>(kEbdtHeaderBytes));
  std::uint32_t offset = 0;
  for (const SfntGlyph& glyph : plan.glyphs) {
    out.u32(offset);
    offset += static_cast<std::uint32_t>(strike_image_bytes(glyph));
  }
  out.u32(offset);
  return out;
}

}  // namespace vellicor
