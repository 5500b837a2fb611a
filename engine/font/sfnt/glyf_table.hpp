// The glyf and loca tables: every glyph's pixels as TrueType outlines.
#pragma once

#include "engine/font/font_model.hpp"
#include "engine/font/sfnt/sfnt_font.hpp"
#include "engine/font/sfnt/sfnt_plan.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Traces the glyphs of plan, read again from font and map, into outlines:
// .notdef and blank glyphs without any, every other one's ink pixels as
// squares of plan's units, each record padded to four bytes, loca of long
// offsets. kOutlineTooComplex when a glyph's outline passes what a glyf
// record holds and FreeType loads (kGlyfMostPoints, kGlyfMostContours,
// 16-bit coordinates; glyf_glyph.hpp), kFontTooLarge
// when glyf passes what 32-bit offsets reach.
ErrorDetail make_glyf_outlines(const FontModel& font, const InkMap& map, const SfntPlan& plan,
                               SfntOutlines& outlines);

}  // namespace vellicor
