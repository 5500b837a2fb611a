// Reads a PSF 1 or PSF 2 console font into a LoadedFont.
#include "engine/fontfile/font_file_reader.hpp"

namespace vellicor {

ResultCode read_psf_font(const std::uint8_t* data, std::size_t size, LoadedFont& font,
                         ErrorDetail* detail) {
  static_cast<void>(data);
  static_cast<void>(size);
  static_cast<void>(font);
  return fail(detail, ErrorDetail::kFontUnknown, ResultCode::kUnusableInput);
}

}  // namespace vellicor
