// The passes over a loaded picture: measuring the font, sizing its records,
// and writing them.
#pragma once

#include <cstdint>

#include "engine/core/font_measure.hpp"
#include "engine/io/output_file.hpp"
#include "engine/picture/bmp_format.hpp"
#include "engine/picture/pixel_buffer.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// What the passes read; built by convert, never written here.
struct GlyphScanContext {
  const PixelBuffer* pixels;
  const BmpInfoHeader* info;
  const ConversionOptions* options;
  const std::uint8_t* ink_indices;  // the InkIndexTable
  std::uint16_t ink_count;
};

// Cuts the picture once and fills measure with its font-wide figures; kOk.
ResultCode measure_glyphs(const GlyphScanContext& context, FontMeasure& measure);

// The exact bytes that write_glyphs writes for the font measure describes
// (the header and the closing line not included); saturates at the largest
// value instead of wrapping. Cuts the picture once more.
std::uint64_t size_glyph_records(const GlyphScanContext& context, const FontMeasure& measure);

// Writes one record per glyph into file, from the figures in measure.
// kBadArgument when a field of measure is zero, kFileAccess when a write
// fails (no detail stored).
ResultCode write_glyphs(const GlyphScanContext& context, const FontMeasure& measure,
                        OutputFile& file);

}  // namespace vellicor
