// Saving a drawn picture: PNG (libspng's encoder, where the build has it) as
// palette or one-bit grey, and BMP (one bit per pixel for a two-colour
// picture, else eight with the drawing's palette). Both go through the file
// layer's temporary file, so a failed save leaves nothing behind.
#pragma once

#include "engine/draw/drawn_picture.hpp"
#include "engine/io/file_system.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// kFileAccess (detail kFileAccess) when writing fails; kOutOfMemory.
ResultCode write_png_picture(FileSystem& files, const char* path, const DrawnPicture& picture,
                             ErrorDetail* detail);
ResultCode write_bmp_picture(FileSystem& files, const char* path, const DrawnPicture& picture,
                             ErrorDetail* detail);
// Whether this build writes PNG.
bool writes_png_pictures();

}  // namespace vellicor
