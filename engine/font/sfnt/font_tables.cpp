// head, hhea, hmtx, maxp and post.
#include "engine/font/sfnt/font_tables.hpp"

#include <algorithm>
#include <limits>

namespace vellicor {

namespace {

constexpr std::uint32_t kVersionOne = 0x00010000;
constexpr std::uint32_t kMaxpVersionHalf = 0x00005000;
constexpr std::uint32_t kPostVersionThree = 0x00030000;
constexpr std::uint32_t kHeadMagic = 0x5F0F3CF5;
// Baseline at y 0, left side bearing at x 0 (each outline starts at its
// box's left), sizes rounded to whole pixels per em.
constexpr std::uint16_t kHeadFlags = (1U << 0) | (1U << 1) | (1U << 3);
constexpr std::uint16_t kMacStyleBold = 1U << 0;
constexpr std::uint16_t kMacStyleItalic = 1U << 1;
constexpr std::int16_t kStrongLeftToRight = 2;  // font direction hint
constexpr std::int16_t kLongOffsets = 1;
constexpr std::uint16_t kMaxZones = 2;  // the twilight zone too, as TrueType counts it

// The union of the boxes that are not empty.
SfntGlyphBox union_of(const std::vector<SfntGlyphBox>& boxes) {
  SfntGlyphBox all;
  for (const SfntGlyphBox& box : boxes) {
    if (box.empty) continue;
    if (all.empty) {
      all = box;
      continue;
    }
    all.x_min = std::min(all.x_min, box.x_min);
    all.y_min = std::min(all.y_min, box.y_min);
    all.x_max = std::max(all.x_max, box.x_max);
    all.y_max = std::max(all.y_max, box.y_max);
  }
  return all;
}

std::uint16_t advance_units(const SfntPlan& plan, const SfntGlyph& glyph) {
  return static_cast<std::uint16_t>(glyph.advance * plan.units_per_pixel);
}

}  // namespace

std::int16_t sfnt_units(const SfntPlan& plan, std::int32_t pixels) {
  const std::int64_t units = std::int64_t{pixels} * plan.units_per_pixel;
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(
      units, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::vector<SfntGlyphBox> bitmap_boxes(const SfntPlan& plan) {
  std::vector<SfntGlyphBox> boxes(plan.glyphs.size());
  for (std::size_t id = 0; id < boxes.size(); ++id) {
    const SfntGlyph& glyph = plan.glyphs[id];
    if (glyph.width == 0) continue;
    boxes[id] = {sfnt_units(plan, glyph.left), sfnt_units(plan, glyph.top - glyph.height),
                 sfnt_units(plan, glyph.left + glyph.width), sfnt_units(plan, glyph.top), false};
  }
  return boxes;
}

SfntBytes make_head(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes,
                    const SfntNames& names, bool outlines) {
  const SfntGlyphBox all = union_of(boxes);
  SfntBytes out;
  out.u32(kVersionOne);
  out.u32(kVersionOne);  // font revision 1.0
  out.u32(0);            // checkSumAdjustment, set when the file is written
  out.u32(kHeadMagic);
  out.u16(kHeadFlags);
  out.u16(static_cast<std::uint16_t>(plan.units_per_em()));
  out.zeros(16);  // created and modified: no date
  out.i16(all.x_min);
  out.i16(all.y_min);
  out.i16(all.x_max);
  out.i16(all.y_max);
  out.u16(static_cast<std::uint16_t>((names.bold ? kMacStyleBold : 0) |
                                     (names.italic ? kMacStyleItalic : 0)));
  out.u16(static_cast<std::uint16_t>(plan.pixel_size));  // smallest readable size: its own
  out.i16(kStrongLeftToRight);
  out.i16(outlines ? kLongOffsets : 0);
  out.i16(0);  // glyph data format
  return out;
}

SfntBytes make_hhea(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes) {
  std::uint16_t most_advance = 0;
  std::int32_t least_left = 0, least_right = 0, most_extent = 0;
  bool first = true;
  for (std::size_t id = 0; id < boxes.size(); ++id) {
    const std::uint16_t advance = advance_units(plan, plan.glyphs[id]);
    most_advance = std::max(most_advance, advance);
    const SfntGlyphBox& box = boxes[id];
    if (box.empty) continue;
    const std::int32_t right = advance - box.x_max;
    least_left = first ? box.x_min : std::min<std::int32_t>(least_left, box.x_min);
    least_right = first ? right : std::min(least_right, right);
    most_extent = first ? box.x_max : std::max<std::int32_t>(most_extent, box.x_max);
    first = false;
  }
  const auto clamp16 = [](std::int32_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
  };
  SfntBytes out;
  out.u32(kVersionOne);
  out.i16(sfnt_units(plan, plan.ascent));
  out.i16(sfnt_units(plan, -plan.descent));
  out.i16(0);  // line gap: the BDF's lines touch
  out.u16(most_advance);
  out.i16(clamp16(least_left));
  out.i16(clamp16(least_right));
  out.i16(clamp16(most_extent));
  out.i16(1);  // caret slope rise and run: upright
  out.i16(0);
  out.i16(0);  // caret offset
  out.zeros(8);
  out.i16(0);                                               // metric data format
  out.u16(static_cast<std::uint16_t>(plan.glyphs.size()));  // a full metric for each glyph
  return out;
}

SfntBytes make_hmtx(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes) {
  SfntBytes out;
  for (std::size_t id = 0; id < boxes.size(); ++id) {
    out.u16(advance_units(plan, plan.glyphs[id]));
    out.i16(boxes[id].empty ? std::int16_t{0} : boxes[id].x_min);
  }
  return out;
}

SfntBytes make_maxp(const SfntPlan& plan, const SfntOutlineFigures* outlines) {
  SfntBytes out;
  out.u32(outlines != nullptr ? kVersionOne : kMaxpVersionHalf);
  out.u16(static_cast<std::uint16_t>(plan.glyphs.size()));
  if (outlines == nullptr) return out;
  out.u16(outlines->most_points);
  out.u16(outlines->most_contours);
  out.u16(0);  // no composite glyphs
  out.u16(0);
  out.u16(kMaxZones);
  out.zeros(std::size_t{2} *
            4);  // no twilight points, storage, functions or instruction definitions
  out.u16(1);    // the control program's stack holds one value at a time
  out.zeros(std::size_t{2} * 3);  // no glyph instructions, no components
  return out;
}

SfntBytes make_prep() {
  // FreeType hints a TrueType font without any bytecode with its
  // auto-hinter, which moves the squares' edges off the pixel grid and
  // drops lines of small glyphs; a control program of its own makes it use
  // the font's (empty) hinting, which leaves every corner where it is. The
  // program turns on dropout control at every size, so strokes of one pixel
  // stay drawn when the font is scaled below its own size:
  // PUSHW[] 511, SCANCTRL[], PUSHB[] 4, SCANTYPE[].
  constexpr std::uint8_t kProgram[] = {0xB8, 0x01, 0xFF, 0x85, 0xB0, 0x04, 0x8D};
  SfntBytes out;
  for (const std::uint8_t byte : kProgram) out.u8(byte);
  return out;
}

SfntBytes make_post(const SfntPlan& plan) {
  SfntBytes out;
  out.u32(kPostVersionThree);
  out.u32(0);  // italic angle
  // The underline: the pixel line right below the baseline.
  out.i16(sfnt_units(plan, -1));
  out.i16(sfnt_units(plan, 1));
  out.u32(plan.fixed_pitch ? 1 : 0);
  out.zeros(16);  // memory figures for Type 42 printers: unknown
  return out;
}

}  // namespace vellicor
