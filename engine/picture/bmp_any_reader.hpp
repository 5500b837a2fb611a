// Reads a BMP picture of any depth (1, 2, 4, 8, 16, 24 or 32 bits per pixel;
// uncompressed, bit fields, RLE8 or RLE4; either row order) into an ink map.
#pragma once

#include "engine/io/file_system.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/ink_rule.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Decodes the BMP at path into map under rule. Palette entries are opaque;
// indices past the palette are black. Pixels the file does not deliver (a
// short file, RLE data that skips them or ends early) are paper. kAuto reads
// the pixels twice, first to find the most common colour. Failures as
// parse_bmp_any_header, then kUnusableInput with detail kPictureTooLarge
// (checked before decoding) or kBmpBadData (RLE data that reaches past the
// picture); kFileAccess (detail kFileAccess) when a read fails;
// kOutOfMemory. map is written only on success.
ResultCode read_bmp_any_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                            ErrorDetail* detail);
// The same for an open file, which every pass reads from its start.
ResultCode read_bmp_any_ink(FileSystem& fs, FileHandle file, InkRule rule, InkMap& map,
                            ErrorDetail* detail);

}  // namespace vellicor
