// The convert operation: one BMP file in, one BDF font file out.
#pragma once

#include "engine/io/output_file.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor {

// Converts paths->input_path into a BDF font at paths->output_path (derived
// from the input name when null) through the file system fs. On failure
// stores the detail when detail is not null; on success leaves it untouched.
ResultCode convert_file(FileSystem& fs, const ConversionPaths* paths,
                        const ConversionOptions* options, ErrorDetail* detail);

}  // namespace vellicor
