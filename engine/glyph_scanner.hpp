// Cuts a loaded picture into glyphs column by column and writes their BDF records.
#pragma once

#include <cstdint>

#include "engine/bmp_format.hpp"
#include "engine/file_io.hpp"
#include "engine/pixel_buffer.hpp"
#include "engine/result.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// What the scanner reads; built by convert, never written here.
struct GlyphScanContext {
  const PixelBuffer* pixels;
  const BmpInfoHeader* info;
  const ConversionOptions* options;
  const std::uint8_t* ink_indices;  // the InkIndexTable
  std::uint16_t ink_count;
};

// Filled by the measuring pass, read by the writing pass and the font header.
struct FontMeasure {
  std::uint32_t glyph_count = 0;
  std::uint32_t tallest = 0;  // largest ink span of any ink column, in rows
  std::uint32_t widest = 0;   // largest glyph width, in columns
  // Bytes of all glyph records together, exactly as the writing pass writes
  // them (the header and the closing line not included); saturates at the
  // largest value instead of wrapping.
  std::uint64_t font_bytes = 0;
};

// Passing this as the file asks for the measuring pass, which writes nothing.
inline constexpr OutputFile* kMeasuringPass = nullptr;

// Measuring pass (file == kMeasuringPass): fills measure when not null, returns kOk.
// It cuts the picture twice when it finds glyphs: once for the font-wide
// figures, once more to size every record from them.
// Writing pass: writes one record per glyph into file, from the figures in
// measure; kBadArgument when measure is null or has a zero field, the write's
// kFileAccess when a write fails (no detail stored).
ResultCode scan_glyphs(const GlyphScanContext& context, OutputFile* file, FontMeasure* measure);

}  // namespace vellicor
