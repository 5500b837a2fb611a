// Reads a BDF 2.1 font into a LoadedFont.
#include "engine/fontfile/font_file_reader.hpp"

namespace vellicor {

ResultCode read_bdf_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                         ErrorDetail* detail, FontReadProblem* problem) {
  static_cast<void>(data);
  static_cast<void>(size);
  static_cast<void>(font);
  static_cast<void>(problem);
  return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
}

}  // namespace vellicor
