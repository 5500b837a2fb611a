// The BDF font header: everything before the first glyph record.
#pragma once

#include "engine/file_io.hpp"
#include "engine/glyph_scanner.hpp"
#include "engine/result.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Writes the header lines from STARTFONT to CHARS for the font that measure
// describes. kFileAccess (detail kFileAccess) when a write fails.
ResultCode write_bdf_header(OutputFile& file, const ConversionOptions& options,
                            const FontMeasure& measure, ErrorDetail* detail);

// The line that closes a complete font, after the last glyph record.
ResultCode write_bdf_end(OutputFile& file, ErrorDetail* detail);

}  // namespace vellicor
