// The OS/2 table of version 4: the figures Windows and font menus read.
#include <algorithm>

#include "engine/font/sfnt/font_tables.hpp"

namespace vellicor {

namespace {

constexpr std::uint16_t kOs2Version = 4;
constexpr std::uint16_t kWeightNormal = 400;
constexpr std::uint16_t kWeightBold = 700;
constexpr std::uint16_t kWidthNormal = 5;
constexpr std::uint16_t kInstallableEmbedding = 0;
constexpr std::uint16_t kSelectionItalic = 1U << 0;
constexpr std::uint16_t kSelectionBold = 1U << 5;
constexpr std::uint16_t kSelectionRegular = 1U << 6;
// The typographic ascent and descent are the BDF's own, so layouts that
// follow them space lines as the bitmap font does.
constexpr std::uint16_t kSelectionUseTypoMetrics = 1U << 7;
constexpr std::uint32_t kCodePageLatin1 = 1U << 0;
constexpr std::uint32_t kLastLatin1 = 0xFF;
constexpr std::uint32_t kLastBmpCode = 0xFFFF;
constexpr std::uint16_t kSpace = 0x20;
constexpr std::size_t kPanoseBytes = 10;
constexpr std::size_t kUnicodeRangeBytes = 16;

}  // namespace

SfntBytes make_os2(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes,
                   const SfntNames& names) {
  std::uint64_t advance_sum = 0;
  std::uint64_t advances = 0;
  std::uint32_t first_code = kSfntNoCode;
  std::uint32_t last_code = 0;
  for (const SfntGlyph& glyph : plan.glyphs) {
    if (glyph.advance != 0) {
      advance_sum += glyph.advance;
      ++advances;
    }
    if (glyph.code == kSfntNoCode) continue;
    first_code = std::min(first_code, glyph.code);
    last_code = std::max(last_code, glyph.code);
  }
  if (first_code == kSfntNoCode) first_code = 0;
  std::int32_t lowest = 0;
  std::int32_t highest = 0;
  for (const SfntGlyphBox& box : boxes) {
    if (box.empty) continue;
    lowest = std::min<std::int32_t>(lowest, box.y_min);
    highest = std::max<std::int32_t>(highest, box.y_max);
  }
  const std::int32_t em = static_cast<std::int32_t>(plan.units_per_em());
  const std::int32_t unit = static_cast<std::int32_t>(plan.units_per_pixel);
  const auto units16 = [](std::int32_t value) { return static_cast<std::int16_t>(value); };

  SfntBytes out;
  out.u16(kOs2Version);
  // The mean advance of the glyphs that advance, rounded.
  out.i16(advances != 0 ? units16(static_cast<std::int32_t>(
                              (advance_sum * plan.units_per_pixel + advances / 2) / advances))
                        : std::int16_t{0});
  out.u16(names.bold ? kWeightBold : kWeightNormal);
  out.u16(kWidthNormal);
  out.u16(kInstallableEmbedding);
  // Sub- and superscripts at 65% of the em, a little below and well above
  // the baseline, as is customary.
  const std::int16_t script_size = units16(em * 13 / 20);
  out.i16(script_size);
  out.i16(script_size);
  out.i16(0);
  out.i16(units16(em * 3 / 20));
  out.i16(script_size);
  out.i16(script_size);
  out.i16(0);
  out.i16(units16(em * 7 / 20));
  // Strikeout: one pixel line through the middle of the small letters, or
  // of the lower half of the ascent.
  const std::int32_t small_height = plan.x_height > 0 ? plan.x_height : plan.ascent / 2;
  out.i16(units16(unit));
  out.i16(units16(small_height / 2 * unit));
  out.i16(0);                     // no family class
  out.zeros(kPanoseBytes);        // PANOSE: any
  out.zeros(kUnicodeRangeBytes);  // Unicode ranges: none claimed
  out.tag("NONE");
  std::uint16_t selection = kSelectionUseTypoMetrics;
  if (names.italic) selection |= kSelectionItalic;
  if (names.bold) selection |= kSelectionBold;
  if (!names.italic && !names.bold) selection |= kSelectionRegular;
  out.u16(selection);
  out.u16(static_cast<std::uint16_t>(std::min(first_code, kLastBmpCode)));
  out.u16(static_cast<std::uint16_t>(std::min(last_code, kLastBmpCode)));
  out.i16(sfnt_units(plan, plan.ascent));
  out.i16(sfnt_units(plan, -plan.descent));
  out.i16(0);  // line gap
  // Windows clips what lies past these: the font's lines, and any ink
  // beyond them.
  out.u16(
      static_cast<std::uint16_t>(std::max<std::int32_t>(sfnt_units(plan, plan.ascent), highest)));
  out.u16(
      static_cast<std::uint16_t>(std::max<std::int32_t>(sfnt_units(plan, plan.descent), -lowest)));
  out.u32(first_code <= kLastLatin1 ? kCodePageLatin1 : 0);
  out.u32(0);
  out.i16(sfnt_units(plan, plan.x_height));
  out.i16(sfnt_units(plan, plan.cap_height > 0 ? plan.cap_height : plan.ascent));
  out.u16(0);  // default character: .notdef
  out.u16(kSpace);
  out.u16(0);  // no substitutions or positioning, so no context
  return out;
}

}  // namespace vellicor
