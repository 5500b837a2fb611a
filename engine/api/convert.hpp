// The conversions a Converter offers: the plain one (a one-bit BMP, codes
// from the first code), the extended one (any picture, ink rules, a
// character list), and the cut that lists the glyphs without writing.
#pragma once

#include "engine/io/file_system.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Converts paths->input_path into a BDF font at paths->output_path (derived
// from the input name when null) through the file system fs. On failure
// stores the detail when detail is not null; on success leaves it untouched.
ResultCode convert_file(FileSystem& fs, const ConversionPaths* paths,
                        const ConversionOptions* options, ErrorDetail* detail);

// convert_file with settings (whole records: see read_settings). Without a
// character list the font is the one convert_file writes for that picture.
// report is filled as far as the work got, also on failure.
ResultCode convert_ex_file(FileSystem& fs, const ConversionPaths* paths,
                           const ConversionOptions* options, const ConversionSettings& settings,
                           ConversionReport& report, ErrorDetail* detail);

// Cuts the picture at input_path as convert_ex_file would and calls callback
// (when not null) for every glyph of the font until it returns non-zero.
// options may be null (all zero). When the list and the picture disagree in
// number the glyphs are still listed (see FontModel::build) before the failure.
ResultCode cut_file(FileSystem& fs, const char* input_path, const ConversionOptions* options,
                    const ConversionSettings& settings, GlyphCallback callback,
                    void* callback_context, ConversionReport& report, ErrorDetail* detail);

}  // namespace vellicor
