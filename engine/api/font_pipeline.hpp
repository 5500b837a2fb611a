// The conversion's stages in order: picture (file to ink map), layout (ink
// map to glyph boxes), font (boxes and codes to the font model), writer (font
// model to the file). The plain and the extended conversion run the same
// stages and differ only in the request they pass.
#pragma once

#include <cstdint>

#include "engine/core/framing.hpp"
#include "engine/core/layout_settings.hpp"
#include "engine/font/character_list.hpp"
#include "engine/font/font_model.hpp"
#include "engine/io/file_system.hpp"
#include "engine/layout/glyph_boxes.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/picture_source.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// What a conversion asks of the stages beyond its options.
struct PipelineRequest {
  PictureReaders readers = PictureReaders::kOneBitBmp;
  std::uint32_t ink_rule = VELLICOR_INK_BLACK;
  const char* chars = nullptr;  // the character list; null: codes count up from the first code
  std::uint32_t blank_advance = 0;
  // How glyphs are cut and placed in the font's box. Under Framing::kByInk a
  // picture with no ink, or nothing but ink, is refused with its own detail.
  Framing framing = Framing::kMarginStrip;
  // Where the glyphs stand: the plain conversion's is the one-band strip.
  LayoutSettings layout;
  std::uint32_t charset = VELLICOR_CHARSET_NONE;  // a built-in list in place of chars
  std::uint32_t format = VELLICOR_FORMAT_BDF;     // the file format the writer stage writes
};

// Turns the extended interface's layout settings into layout; false for
// settings that do not fit together (an unknown layout, bands in a grid, a
// grid setting outside a grid, a cell of no pixels, more than
// kMostSheetGlyphs bands).
bool read_layout(const ConversionSettings& settings, LayoutSettings& layout);

// Everything a font is made from, read and decided before writing. The model
// points into the list and the boxes, so the whole stays where it was made.
struct PreparedFont {
  PreparedFont() = default;
  PreparedFont(const PreparedFont&) = delete;
  PreparedFont& operator=(const PreparedFont&) = delete;

  ConversionOptions options{};  // the options the model was built with
  CharacterList list;
  InkMap map;
  GlyphBoxes boxes;
  FontModel model;
};

// Runs the picture, layout and font stages for the picture at input_path.
// report receives what the work found as far as it got, also on failure; on
// a count mismatch font still holds the model (see FontModel::build).
ResultCode prepare_font(FileSystem& fs, const char* input_path, const ConversionOptions& options,
                        const PipelineRequest& request, PreparedFont& font,
                        ConversionReport& report, ErrorDetail* detail);

// The writer stage: refuses a font far larger than its picture, then writes
// it in format (VELLICOR_FORMAT_*) to a temporary file that replaces
// output_path only when complete. A format that leaves characters out of the
// font (FON) names them in report's left_out fields.
ResultCode write_font_file(FileSystem& fs, const char* output_path, const PreparedFont& font,
                           std::uint32_t format, ConversionReport& report, ErrorDetail* detail);

// The BDF written as the plain conversion writes it.
ResultCode write_font_file(FileSystem& fs, const char* output_path, const PreparedFont& font,
                           ErrorDetail* detail);

}  // namespace vellicor
