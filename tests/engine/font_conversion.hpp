// Runs one conversion of a picture drawn as text rows, for the scanner and
// convert tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/io/output_file.hpp"
#include "tests/support/bmp_builder.hpp"
#include "tests/support/temp_dir.hpp"
#include "vellicor/internal/result_codes.hpp"
#include "vellicor/vellicor.h"

namespace vellicor::test {

// Options with every count 0, first glyph 65 and the given font name.
ConversionOptions plain_options(const char* font_name = "Test");

struct ConversionRun {
  ResultCode result = ResultCode::kOk;
  ErrorDetail detail = ErrorDetail::kNone;  // kNone when convert left it untouched
  std::string font;                         // the output file, empty when absent
  bool font_exists = false;
};

// Writes the picture to dir/in.bmp and converts it to dir/out.bdf with fs.
ConversionRun convert_rows(const TempDir& dir, const std::vector<std::string>& rows,
                           const ConversionOptions& options, const BmpOptions& bmp = {},
                           FileSystem& fs = system_file_system());

// Converts dir/in.bmp (already written) to dir/out.bdf.
ConversionRun convert_written(const TempDir& dir, const ConversionOptions& options,
                              FileSystem& fs = system_file_system());

// The header lines a conversion writes, from STARTFONT to CHARS.
std::string header_text(const std::string& font_name, const std::string& numbers);

}  // namespace vellicor::test
