// Ink lookup in a loaded picture.
#include "engine/picture.hpp"

#include <cstdlib>

namespace vellicor {

namespace {

// 4 bytes for every started group of 32 one-bit pixels, computed without
// overflow for any width up to INT32_MAX.
std::uint32_t one_bit_stride(std::uint32_t width_px) {
  return static_cast<std::uint32_t>(((std::uint64_t{width_px} + 31) / 32) * 4);
}

}  // namespace

PictureView::PictureView(const BmpInfoHeader& info, const PixelBuffer& pixels,
                         const std::uint8_t* ink_indices, std::uint16_t ink_count)
    : bytes_(pixels.bytes.get()),
      delivered_(pixels.bytes ? pixels.delivered_bytes : 0),
      size_(info.biSizeImage),
      width_(info.biWidth > 0 ? static_cast<std::uint32_t>(info.biWidth) : 0),
      height_(static_cast<std::uint32_t>(std::llabs(static_cast<long long>(info.biHeight)))),
      stride_(one_bit_stride(width_)),
      bottom_up_(info.biHeight > 0),
      ink_when_set_(0),
      ink_when_clear_(0) {
  // A one-bit pixel can only carry index 0 or 1; other ink indices never match.
  for (std::uint16_t i = 0; i < ink_count; ++i) {
    if (ink_indices[i] == 0) ink_when_clear_ = 0xFF;
    if (ink_indices[i] == 1) ink_when_set_ = 0xFF;
  }
  // A declared size smaller than the rows need would put bottom-up rows before
  // the buffer; the loader refuses such pictures, and the view reads them as paper.
  if (bottom_up_ && size_ < std::uint64_t{stride_} * height_) delivered_ = 0;
}

}  // namespace vellicor
