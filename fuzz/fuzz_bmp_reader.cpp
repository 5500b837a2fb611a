// Fuzz target: the any-depth BMP reader on arbitrary bytes, under the ink
// rule the input's length picks. BMP files serve as seeds unchanged.
#include <cstddef>
#include <cstdint>

#include "engine/picture/bmp_any_reader.hpp"
#include "fuzz/picture_reader_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vellicor::ErrorDetail;
  vellicor::fuzz::check_picture_reader(
      vellicor::read_bmp_any_ink, data, size,
      {ErrorDetail::kNotBmp, ErrorDetail::kUnsupported, ErrorDetail::kUnusableContent,
       ErrorDetail::kOutOfMemory, ErrorDetail::kPictureTooLarge, ErrorDetail::kBmpBadData});
  return 0;
}
