// Fuzz target: the PNG reader on arbitrary bytes, under the ink rule the
// input's length picks. PNG files serve as seeds unchanged.
#include <cstddef>
#include <cstdint>

#include "engine/picture/png_reader.hpp"
#include "fuzz/picture_reader_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vellicor::ErrorDetail;
  vellicor::fuzz::check_picture_reader(
      vellicor::read_png_ink, data, size,
      {ErrorDetail::kNotBmp, ErrorDetail::kUnusableContent, ErrorDetail::kOutOfMemory,
       ErrorDetail::kPictureTooLarge, ErrorDetail::kPngTruncated, ErrorDetail::kPngChecksum,
       ErrorDetail::kPngBadData, ErrorDetail::kPngBadHeader});
  return 0;
}
