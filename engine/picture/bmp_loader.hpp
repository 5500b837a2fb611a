// Reads a one-bit BMP: its headers, its ink palette indices and its pixel data.
#pragma once

#include <cstdint>

#include "engine/io/file_system.hpp"
#include "engine/picture/bmp_format.hpp"
#include "engine/picture/pixel_buffer.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Loads the picture at path. On success fills the information header
// (biSizeImage made non-zero), the ink table with ink_count pure black
// palette indices in rising order, and pixels; returns kOk. On failure stores
// the detail (when detail is not null), leaves pixels empty and closes the file.
ResultCode load_bmp(FileSystem& fs, const char* path, BmpInfoHeader& info_header,
                    InkIndexTable& ink_table, std::uint16_t& ink_count, PixelBuffer& pixels,
                    ErrorDetail* detail);
// The same for an open file positioned at its start; the file stays open.
ResultCode load_bmp(FileSystem& fs, FileHandle file, BmpInfoHeader& info_header,
                    InkIndexTable& ink_table, std::uint16_t& ink_count, PixelBuffer& pixels,
                    ErrorDetail* detail);

}  // namespace vellicor
