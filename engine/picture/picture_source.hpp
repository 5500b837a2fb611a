// The picture stage: a file in, its ink map out. The reader is told by the
// file's first bytes, not by its name.
#pragma once

#include <cstdint>

#include "engine/io/file_system.hpp"
#include "engine/picture/ink_map.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Which pictures a conversion reads.
enum class PictureReaders {
  kOneBitBmp,  // one-bit BMP only, pure black palette entries ink: the plain conversion
  kAny,        // PNG and BMP of every depth, under an ink rule
};

// Reads the picture at path into map. With kAny, ink_rule (VELLICOR_INK_*)
// says which pixels are ink; a one-bit BMP under the black rule gives the
// very map that kOneBitBmp gives. On failure stores the detail when detail
// is not null; map is written only on success.
ResultCode read_picture(FileSystem& fs, const char* path, PictureReaders readers,
                        std::uint32_t ink_rule, InkMap& map, ErrorDetail* detail);

// load_bmp, then one_bit_bmp_ink_map: the reader of the plain conversion,
// with its checks, refusals and details.
ResultCode read_one_bit_bmp(FileSystem& fs, const char* path, InkMap& map, ErrorDetail* detail);

}  // namespace vellicor
