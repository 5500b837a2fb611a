// The BDF font header: everything before the first glyph record.
#pragma once

#include <cstdint>

#include "engine/core/font_measure.hpp"
#include "engine/io/output_file.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// What the header of a Unicode font (one made with a character list) says
// beyond the plain header: the figures of its extra properties.
struct UnicodeFontFigures {
  std::uint64_t bounding_width = 0;  // FONTBOUNDINGBOX width, blank glyphs' boxes included
  std::uint64_t average_width = 0;   // AVERAGE_WIDTH: mean advance in tenths of a pixel
  std::uint32_t default_char = 0;    // DEFAULT_CHAR: a code point of the font
  bool character_cell = false;       // SPACING "C": every advance is the font's width
};

// Writes the header lines from STARTFONT to CHARS for the font that measure
// describes; with unicode, the bounding width and the properties of a Unicode
// font. kFileAccess (detail kFileAccess) when a write fails.
ResultCode write_bdf_header(OutputFile& file, const ConversionOptions& options,
                            const FontMeasure& measure, ErrorDetail* detail,
                            const UnicodeFontFigures* unicode = nullptr);

// The line that closes a complete font, after the last glyph record.
ResultCode write_bdf_end(OutputFile& file, ErrorDetail* detail);

}  // namespace vellicor
