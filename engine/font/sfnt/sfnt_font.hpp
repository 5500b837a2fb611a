// An sfnt font of a font model: the bitmap strike and every table around
// it, and the outlines when the writer adds them. The OTB and TTF writers
// differ only in those.
#pragma once

#include <vector>

#include "engine/font/font_model.hpp"
#include "engine/font/sfnt/font_tables.hpp"
#include "engine/font/sfnt/sfnt_bytes.hpp"
#include "engine/font/sfnt/sfnt_plan.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// TrueType outlines of every glyph of a plan.
struct SfntOutlines {
  SfntBytes glyf;
  SfntBytes loca;
  std::vector<SfntGlyphBox> boxes;  // each outline's box, in glyph order
  SfntOutlineFigures figures;
};

// Makes the outlines of plan's glyphs, reading the glyphs of font again;
// the detail of a refusal, or kNone.
using SfntOutlineMaker = ErrorDetail (*)(const FontModel& font, const InkMap& map,
                                         const SfntPlan& plan, SfntOutlines& outlines);

// Writes font, whose boxes were cut from map, to file: with make_outlines
// null a bitmap-only font (OTB), else a TrueType font with the same strike.
// Fails, writing nothing, with kBadArgument (detail kFontTooLarge) when a
// figure leaves what the format holds, with kUnusableInput and the outline
// maker's detail when it refuses a glyph (kBadArgument for kFontTooLarge); kFileAccess (detail
// kFileAccess) when a write fails.
ResultCode write_sfnt_font(OutputFile& file, const FontModel& font, const InkMap& map,
                           SfntOutlineMaker make_outlines, ErrorDetail* detail);

}  // namespace vellicor
