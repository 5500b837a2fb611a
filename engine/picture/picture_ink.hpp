// Reading a picture of any supported format into its ink map, the format
// told by the file's first bytes rather than by its name.
#pragma once

#include <cstdint>

#include "engine/io/file_system.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/ink_rule.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

enum class PictureFormat {
  kUnknown,
  kPng,
  kOneBitBmp,  // a one-bit BMP with a Windows header, as the plain loader reads it
  kOtherBmp,   // every other BMP: other depths, compression, OS/2 headers
};

// Looks at the first bytes of the file. kUnknown also when it cannot be read.
PictureFormat sniff_picture_format(FileSystem& fs, const char* path);

// Reads a PNG or BMP file of any depth into map under rule. A file of any
// other format is refused with kUnusableInput and detail kNotBmp, as the
// plain conversion refuses it; so is a PNG when PNG support was not built.
ResultCode read_picture_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                            ErrorDetail* detail);

}  // namespace vellicor
