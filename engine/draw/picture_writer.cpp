// Saves a drawn picture as PNG or BMP.
#include "engine/draw/picture_writer.hpp"

namespace vellicor {

ResultCode write_png_picture(FileSystem& files, const char* path, const DrawnPicture& picture,
                             ErrorDetail* detail) {
  static_cast<void>(files);
  static_cast<void>(path);
  static_cast<void>(picture);
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}

ResultCode write_bmp_picture(FileSystem& files, const char* path, const DrawnPicture& picture,
                             ErrorDetail* detail) {
  static_cast<void>(files);
  static_cast<void>(path);
  static_cast<void>(picture);
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}

bool writes_png_pictures() { return false; }

}  // namespace vellicor
