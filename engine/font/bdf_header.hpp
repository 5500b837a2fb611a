// The BDF font header: everything before the first glyph record.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// One property of the font's header: a number or a string.
struct FontProperty {
  std::string_view name;
  bool is_string = false;
  std::int64_t number = 0;
  std::string_view text;  // of a string property
};

// The font's name as FONT states it.
std::string_view font_name(const FontModel& font);

// The header's properties in order: FONT_DESCENT and FONT_ASCENT, and with
// unicode (font.unicode_figures() of a font made with a character list) those
// of a Unicode font. The strings point into the font's options or are
// constants.
std::vector<FontProperty> font_properties(const FontModel& font, const UnicodeFontFigures* unicode);

// Writes the header lines from STARTFONT to CHARS for font; a font made with
// a character list gets the bounding width and the properties of a Unicode
// font. kFileAccess (detail kFileAccess) when a write fails.
ResultCode write_bdf_header(OutputFile& file, const FontModel& font, ErrorDetail* detail);

// The line that closes a complete font, after the last glyph record.
ResultCode write_bdf_end(OutputFile& file, ErrorDetail* detail);

}  // namespace vellicor
