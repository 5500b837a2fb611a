// One glyph's BDF record, from STARTCHAR to ENDCHAR.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/font_measure.hpp"
#include "engine/font/font_frame.hpp"
#include "engine/io/output_file.hpp"
#include "engine/layout/glyph_boxes.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// How a record is named and coded when the font does not count codes up from
// options.first_glyph: the ENCODING and a Unicode glyph name ("uni00E9",
// "u1F600").
struct RecordLabel {
  std::uint32_t code_point = 0;
};

// Writes the record of glyph into file: a strip glyph in frame's box, a
// placed one (GlyphBox::placed) as its ink box at its own offsets.
// The font-wide figures come from frame, made from a cut whose figures are
// all non-zero. kFileAccess when a write fails; no detail is stored.
ResultCode write_glyph_record(OutputFile& file, const InkMap& picture,
                              const ConversionOptions& options, const FontFrame& frame,
                              const GlyphBox& glyph, const RecordLabel* label = nullptr);

// The exact number of bytes write_glyph_record writes for glyph, found
// without writing, so a font's size is known before its file is created.
std::uint64_t glyph_record_size(const ConversionOptions& options, const FontFrame& frame,
                                const GlyphBox& glyph, const RecordLabel* label = nullptr);

// A blank character's record: no ink, advancing advance columns; a box that
// wide and as tall as the font's box, or an empty one when the frame asks
// for empty blanks. Writes and sizes like the two functions above.
// unicode_name false names it by its code as a glyph without a list is
// named ("char0041").
ResultCode write_blank_record(OutputFile& file, const FontFrame& frame, const RecordLabel& label,
                              std::uint32_t advance, bool unicode_name = true);
std::uint64_t blank_record_size(const FontFrame& frame, const RecordLabel& label,
                                std::uint32_t advance, bool unicode_name = true);

// A glyph's record as bits, for writers of formats other than BDF: the box,
// offsets and advance its BDF record states and exactly the bitmap lines it
// holds, so every format shows the same glyph.
struct GlyphBitmap {
  std::uint64_t width = 0;  // BBX width and height; both 0 for a blank glyph
  std::uint64_t height = 0;
  std::int64_t x_offset = 0;  // BBX offsets
  std::int64_t y_offset = 0;
  std::uint64_t advance = 0;         // DWIDTH
  std::uint64_t scalable_width = 0;  // SWIDTH
  std::uint64_t stride = 0;          // bytes per line: (width + 7) / 8
  // height lines of stride bytes, top line first, leftmost pixel in the most
  // significant bit, bits past width zero.
  std::vector<std::uint8_t> lines;
};

// The bitmap write_glyph_record writes for glyph.
void glyph_bitmap(const InkMap& picture, const ConversionOptions& options, const FontFrame& frame,
                  const GlyphBox& glyph, GlyphBitmap& bitmap);
// The bitmap write_blank_record writes for a blank character.
void blank_bitmap(const FontFrame& frame, std::uint32_t advance, GlyphBitmap& bitmap);

// The name a record of code states after STARTCHAR: "uni0041" with
// unicode_name, else "char0041" (as write_blank_record names them).
std::string glyph_name(std::uint64_t code, bool unicode_name);

// At least the bytes of all records of the font that measure describes,
// found from its figures alone: every record taken as large as the font's
// widest box, its deepest glyph and its last code allow. Saturates.
std::uint64_t glyph_records_size_bound(const ConversionOptions& options, const FontMeasure& measure,
                                       const FontFrame& frame);

}  // namespace vellicor
