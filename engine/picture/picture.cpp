// Ink lookup in a loaded picture.
#include "engine/picture/picture.hpp"

#include <algorithm>
#include <cstdlib>

namespace vellicor {

namespace {

constexpr std::uint32_t kBitsPerByte = 8;

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
      ink_when_clear_(0),
      ink_when_set_word_(0),
      ink_when_clear_word_(0) {
  // A one-bit pixel can only carry index 0 or 1; other ink indices never match.
  for (std::uint16_t i = 0; i < ink_count; ++i) {
    if (ink_indices[i] == 0) ink_when_clear_ = 0xFF;
    if (ink_indices[i] == 1) ink_when_set_ = 0xFF;
  }
  constexpr std::uint64_t kAllBits = ~std::uint64_t{0};
  ink_when_set_word_ = ink_when_set_ != 0 ? kAllBits : 0;
  ink_when_clear_word_ = ink_when_clear_ != 0 ? kAllBits : 0;
  const std::uint64_t rows_bytes = std::uint64_t{stride_} * height_;
  // A declared size smaller than the rows need would put bottom-up rows before
  // the buffer; the loader refuses such pictures, and the view reads them as paper.
  if (bottom_up_ && size_ < rows_bytes) delivered_ = 0;
  // Bytes past the declared size are no pixel data.
  delivered_ = std::min(delivered_, size_);
  if (stride_ == 0 || height_ == 0 || delivered_ == 0) return;

  // The delivered bytes are the start of the pixel data. Top-down, that is the
  // first rows; bottom-up, the last rows, whose offsets fall as y grows.
  std::uint64_t lowest_offset = 0;  // offset of the delivered row that starts first
  if (bottom_up_) {
    const std::uint64_t undelivered = size_ - delivered_;
    const std::uint64_t first_row = undelivered / stride_;
    delivered_rows_ = {static_cast<std::uint32_t>(std::min<std::uint64_t>(first_row, height_)),
                       height_};
    lowest_offset = size_ - rows_bytes;
  } else {
    const std::uint64_t rows = (delivered_ + stride_ - 1) / stride_;
    delivered_rows_ = {0, static_cast<std::uint32_t>(std::min<std::uint64_t>(rows, height_))};
  }
  if (delivered_rows_.empty() || lowest_offset >= delivered_) {
    delivered_rows_ = {};
    return;
  }
  const std::uint64_t bytes = std::min<std::uint64_t>(stride_, delivered_ - lowest_offset);
  delivered_columns_ =
      static_cast<std::uint32_t>(std::min<std::uint64_t>(width_, bytes * kBitsPerByte));
}

std::uint64_t PictureView::gathered_ink_bytes(std::uint32_t y, std::int64_t byte_index) const {
  std::uint64_t bits = 0;
  for (std::int64_t index = byte_index; index < byte_index + kBytesPerWord; ++index) {
    const bool in_row = index >= 0 && index < std::int64_t{stride_};
    const std::uint8_t ink = in_row ? ink_byte(y, static_cast<std::uint32_t>(index)) : 0;
    bits = (bits << kBitsPerByte) | ink;
  }
  return bits;
}

bool PictureView::holds_bytes(RowRange rows, std::int64_t first_byte, std::uint64_t count) const {
  if (rows.empty() || rows.end > height_ || first_byte < 0) return false;
  const auto first = static_cast<std::uint64_t>(first_byte);
  if (count > stride_ || first > stride_ - count) return false;
  // The delivered bytes are a prefix of the pixel data, so the row stored
  // last among them decides.
  const std::uint64_t last_row_offset = std::max(row_offset(rows.begin), row_offset(rows.end - 1));
  return last_row_offset + first + count <= delivered_;
}

std::uint64_t PictureView::column_word_mask(std::uint32_t word_index) const {
  constexpr std::uint64_t kColumnsPerWord = std::uint64_t{kBytesPerWord} * kBitsPerByte;
  const std::uint64_t first_column = std::uint64_t{word_index} * kColumnsPerWord;
  if (first_column >= width_) return 0;
  const std::uint64_t columns = std::min<std::uint64_t>(kColumnsPerWord, width_ - first_column);
  // Shifting a 64-bit value by 64 is undefined, so a full word is its own case.
  return columns == kColumnsPerWord ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> columns);
}

bool PictureView::has_ink() const {
  // 64 pixels at a time; undelivered bytes read as paper.
  constexpr std::uint32_t kColumnsPerWord = kBytesPerWord * kBitsPerByte;
  const std::uint32_t words = (delivered_columns_ + kColumnsPerWord - 1) / kColumnsPerWord;
  for (std::uint32_t y = delivered_rows_.begin; y < delivered_rows_.end; ++y) {
    for (std::uint32_t word = 0; word < words; ++word) {
      if ((ink_word(y, word) & column_word_mask(word)) != 0) return true;
    }
  }
  return false;
}

}  // namespace vellicor
