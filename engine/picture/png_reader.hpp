// Reads a PNG picture of any colour type, bit depth and interlacing into an
// ink map, row by row, so memory stays near the map's own size.
#pragma once

#include <array>
#include <cstdint>

#include "engine/io/file_system.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/ink_rule.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// The eight bytes every PNG file begins with.
inline constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P',  'N',  'G',
                                                              '\r', '\n', 0x1A, '\n'};

// False when the engine was built without a PNG decoder; read_png_ink then
// refuses every file as not a picture it can read (detail kNotBmp).
bool png_support_built();

// Decodes the PNG at path into map under rule. Translucent pixels are
// composited over white paper for kBlack and kDark; kAuto decodes the file
// twice, first to find the most common colour. Failures: kUnusableInput with
// detail kPictureTooLarge (checked before decoding), kPngTruncated,
// kPngChecksum, kPngBadData or kPngBadHeader; kFileAccess (detail kFileAccess)
// when a read fails; kOutOfMemory. map is written only on success.
// file is open; every decoding reads it from its start.
ResultCode read_png_ink(FileSystem& fs, FileHandle file, InkRule rule, InkMap& map,
                        ErrorDetail* detail);

// read_png_ink on the file at path (kFileAccess, detail kFileAccess, when it
// does not open).
inline ResultCode read_png_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                               ErrorDetail* detail) {
  InputFile file(fs, fs.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  return read_png_ink(fs, file.handle(), rule, map, detail);
}

}  // namespace vellicor
