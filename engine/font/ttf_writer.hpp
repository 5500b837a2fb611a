// The font as a TrueType font: every glyph's pixels as square outlines,
// so it scales to any size, and the same bitmap strike as the OTB at the
// font's own size, so at that size it shows the exact bitmaps.
#pragma once

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Writes font, whose glyphs are cut from map, to file: the tables, glyphs
// and limits of write_otb_font (otb_writer.hpp), and glyf and loca. The em
// is the font's pixel size times a whole number of units, so every pixel
// corner lies on a whole unit and the outlines fill exactly the bitmaps'
// pixels at the font's size. Refuses, writing nothing, with kUnusableInput
// (detail kOutlineTooComplex) a glyph whose outline passes TrueType's
// limits, as a large checkerboard does. Holds the strike's images and the
// outlines until the file is written.
ResultCode write_ttf_font(OutputFile& file, const FontModel& font, const InkMap& map,
                          ErrorDetail* detail);

}  // namespace vellicor
