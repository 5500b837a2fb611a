// Telling a picture's format by its first bytes rather than by its name, and
// reading a picture of any supported format into its ink map.
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

// Reads the first bytes of the open file, from its position 0. kUnknown also
// when they cannot be read.
PictureFormat sniff_picture_format(FileSystem& fs, FileHandle file);

// Reads the open file, of the given format, into map under rule with the
// readers that see colours; each reads the file from its start. A file of
// any other format is refused with kUnusableInput and detail kNotBmp, as the
// plain conversion refuses it; so is a PNG when PNG support was not built.
ResultCode read_picture_ink(FileSystem& fs, FileHandle file, PictureFormat format, InkRule rule,
                            InkMap& map, ErrorDetail* detail);

// The file at path opened, sniffed and read as above.
ResultCode read_picture_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                            ErrorDetail* detail);

}  // namespace vellicor
