// Loads the picture of an extended conversion: whatever file the reader
// accepts, handed on as the one-bit picture that the cutter reads.
#pragma once

#include <cstdint>

#include "engine/io/file_system.hpp"
#include "engine/picture/bmp_format.hpp"
#include "engine/picture/pixel_buffer.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// What the cutter reads: a one-bit picture in the BMP row layout.
struct LoadedPicture {
  BmpInfoHeader info{};  // 1 bit per pixel, biWidth, biHeight (< 0 top-down), biSizeImage
  InkIndexTable ink_table{};
  std::uint16_t ink_count = 0;
  PixelBuffer pixels;
};

// Loads the picture at path under ink_rule (VELLICOR_INK_*). On failure
// stores the detail when detail is not null and leaves picture empty.
ResultCode load_picture(FileSystem& fs, const char* path, std::uint32_t ink_rule,
                        LoadedPicture& picture, ErrorDetail* detail);

}  // namespace vellicor
