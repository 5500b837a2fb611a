// The tables every sfnt font has beside its glyphs: head, hhea, hmtx, maxp,
// OS/2 and post, from the plan of the font and the boxes of its glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/font/sfnt/font_names.hpp"
#include "engine/font/sfnt/sfnt_bytes.hpp"
#include "engine/font/sfnt/sfnt_plan.hpp"

namespace vellicor {

// A glyph's box in font units: of its outline in a font with outlines, of
// its bitmap in a bitmap font.
struct SfntGlyphBox {
  std::int16_t x_min = 0, y_min = 0, x_max = 0, y_max = 0;
  bool empty = true;
};

// What a font with TrueType outlines adds to the tables.
struct SfntOutlineFigures {
  std::uint16_t most_points = 0;  // of any one glyph
  std::uint16_t most_contours = 0;
};

// A length in pixels in font units.
std::int16_t sfnt_units(const SfntPlan& plan, std::int32_t pixels);

// The boxes of plan's bitmaps, in glyph order.
std::vector<SfntGlyphBox> bitmap_boxes(const SfntPlan& plan);

// head: the font's units, its box (the union of boxes), the long loca
// offsets when the font has outlines. Dates are 0, so a font's bytes
// depend on nothing but its glyphs.
SfntBytes make_head(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes,
                    const SfntNames& names, bool outlines);
// hhea and hmtx: ascent and descent as the BDF header states them, each
// glyph's advance and left side bearing (its box's left).
SfntBytes make_hhea(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes);
SfntBytes make_hmtx(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes);
// maxp: version 0.5 (the glyph count alone) without outlines, 1.0 with.
SfntBytes make_maxp(const SfntPlan& plan, const SfntOutlineFigures* outlines);
// post of version 3: no glyph names.
SfntBytes make_post(const SfntPlan& plan);
// The control program of a font with outlines (prep).
SfntBytes make_prep();
// OS/2 of version 4.
SfntBytes make_os2(const SfntPlan& plan, const std::vector<SfntGlyphBox>& boxes,
                   const SfntNames& names);

}  // namespace vellicor
