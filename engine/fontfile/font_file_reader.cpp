// Tells a font file's kind by its first bytes and hands it to its reader.
#include "engine/fontfile/font_file_reader.hpp"

namespace vellicor {

ResultCode read_font_bytes(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                           ErrorDetail* detail, FontReadProblem* problem) {
  static_cast<void>(data);
  static_cast<void>(size);
  static_cast<void>(font);
  static_cast<void>(problem);
  return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
}

ResultCode read_font_file(FileSystem& files, const char* path, LoadedFont& font,
                          ErrorDetail* detail, FontReadProblem* problem) {
  static_cast<void>(files);
  static_cast<void>(path);
  return read_font_bytes(nullptr, 0, font, detail, problem);
}

}  // namespace vellicor
