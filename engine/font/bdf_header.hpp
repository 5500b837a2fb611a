// The BDF font header: everything before the first glyph record.
#pragma once

#include <cstdint>

#include "engine/font/font_model.hpp"
#include "engine/io/output_file.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Writes the header lines from STARTFONT to CHARS for font; a font made with
// a character list gets the bounding width and the properties of a Unicode
// font. kFileAccess (detail kFileAccess) when a write fails.
ResultCode write_bdf_header(OutputFile& file, const FontModel& font, ErrorDetail* detail);

// The line that closes a complete font, after the last glyph record.
ResultCode write_bdf_end(OutputFile& file, ErrorDetail* detail);

}  // namespace vellicor
