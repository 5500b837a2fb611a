// One glyph's BDF record, from STARTCHAR to ENDCHAR.
#pragma once

#include <cstdint>

#include "engine/file_io.hpp"
#include "engine/glyph_cutter.hpp"
#include "engine/glyph_scanner.hpp"
#include "engine/picture.hpp"
#include "engine/result.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Writes the record of glyph into file.
// The font-wide figures come from measure (the measuring pass), whose fields
// are all non-zero. kFileAccess when a write fails; no detail is stored.
ResultCode write_glyph_record(OutputFile& file, const PictureView& picture,
                              const ConversionOptions& options, const FontMeasure& measure,
                              const GlyphSpan& glyph);

// The exact number of bytes write_glyph_record writes for glyph, found
// without writing, so a font's size is known before its file is created.
std::uint64_t glyph_record_size(const ConversionOptions& options, const FontMeasure& measure,
                                const GlyphSpan& glyph);

}  // namespace vellicor
