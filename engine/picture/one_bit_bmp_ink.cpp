// One-bit BMP pixel data to the ink map.
#include "engine/picture/one_bit_bmp_ink.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace vellicor {

namespace {

constexpr std::uint32_t kBitsPerByte = 8;

// Where a loaded picture's rows lie in its pixel bytes, and which of them the
// file delivered.
class StoredRows {
 public:
  StoredRows(const BmpInfoHeader& info, const PixelBuffer& pixels)
      : delivered_(pixels.bytes ? pixels.delivered_bytes : 0),
        size_(info.biSizeImage),
        width_(info.biWidth > 0 ? static_cast<std::uint32_t>(info.biWidth) : 0),
        height_(static_cast<std::uint32_t>(std::llabs(static_cast<long long>(info.biHeight)))),
        stride_(ink_map_stride(width_)),
        bottom_up_(info.biHeight > 0) {
    const std::uint64_t rows_bytes = std::uint64_t{stride_} * height_;
    // A declared size smaller than the rows need would put bottom-up rows
    // before the buffer; the loader refuses such pictures, and they read as
    // paper here.
    if (bottom_up_ && size_ < rows_bytes) delivered_ = 0;
    // Bytes past the declared size are no pixel data.
    delivered_ = std::min(delivered_, size_);
    if (stride_ == 0 || height_ == 0 || delivered_ == 0) return;

    // The delivered bytes are the start of the pixel data. Top-down, that is
    // the first rows; bottom-up, the last rows, whose offsets fall as y grows.
    // Bottom-up rows are counted back from the declared size's end.
    std::uint64_t lowest_offset = 0;  // offset of the delivered row that starts first
    if (bottom_up_) {
      const std::uint64_t first_row = (size_ - delivered_) / stride_;
      rows_ = {static_cast<std::uint32_t>(std::min<std::uint64_t>(first_row, height_)), height_};
      lowest_offset = size_ - rows_bytes;
    } else {
      const std::uint64_t rows = (delivered_ + stride_ - 1) / stride_;
      rows_ = {0, static_cast<std::uint32_t>(std::min<std::uint64_t>(rows, height_))};
    }
    if (rows_.empty() || lowest_offset >= delivered_) {
      rows_ = {};
      return;
    }
    // The row stored first reaches furthest into the delivered bytes; no
    // column right of its delivered ones is delivered in any row.
    const std::uint64_t bytes = std::min<std::uint64_t>(stride_, delivered_ - lowest_offset);
    columns_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(width_, bytes * kBitsPerByte));
  }

  std::uint32_t width() const { return width_; }
  std::uint32_t height() const { return height_; }
  RowRange rows() const { return rows_; }
  std::uint32_t columns() const { return columns_; }
  std::uint64_t delivered() const { return delivered_; }

  // Byte offset of row y (counted from the top) in the declared pixel data.
  std::uint64_t row_offset(std::uint32_t y) const {
    return bottom_up_ ? size_ - (std::uint64_t{y} + 1) * stride_ : std::uint64_t{y} * stride_;
  }

 private:
  std::uint64_t delivered_;
  std::uint64_t size_;
  std::uint32_t width_;
  std::uint32_t height_;
  std::uint32_t stride_;
  bool bottom_up_;
  RowRange rows_;
  std::uint32_t columns_ = 0;
};

// The ink bits of a pixel byte: index 1 is ink where set_is_ink, index 0
// where clear_is_ink (both, when both palette entries are black).
struct InkPolarity {
  std::uint8_t set_is_ink = 0;    // 0xFF or 0
  std::uint8_t clear_is_ink = 0;  // 0xFF or 0

  std::uint8_t ink_of(std::uint8_t bits) const {
    return static_cast<std::uint8_t>((bits & set_is_ink) | (~bits & clear_is_ink));
  }
};

// A picture whose file delivered every row, with no bytes before or after
// them, whose bytes can become the map where they lie.
bool rows_fill_the_buffer(const BmpInfoHeader& info, const PixelBuffer& pixels,
                          const StoredRows& stored) {
  const std::uint64_t rows_bytes = std::uint64_t{ink_map_stride(stored.width())} * stored.height();
  return pixels.bytes && rows_bytes > 0 && info.biSizeImage == rows_bytes &&
         pixels.delivered_bytes == rows_bytes;
}

InkPolarity polarity_of(const std::uint8_t* ink_indices, std::uint16_t ink_count) {
  // A one-bit pixel can only carry index 0 or 1; other ink indices never match.
  InkPolarity polarity;
  for (std::uint16_t i = 0; i < ink_count; ++i) {
    if (ink_indices[i] == 0) polarity.clear_is_ink = 0xFF;
    if (ink_indices[i] == 1) polarity.set_is_ink = 0xFF;
  }
  return polarity;
}

// The map made from the pixel bytes themselves: each byte turned into ink
// bits, the padding bits cleared and bottom-up rows put in top-down order.
void turn_into_map(const BmpInfoHeader& info, PixelBuffer& pixels, const StoredRows& stored,
                   InkPolarity polarity, InkMap& map) {
  const std::uint32_t stride = ink_map_stride(stored.width());
  const std::uint32_t width = stored.width();
  const std::uint32_t height = stored.height();
  std::uint8_t* const bytes = pixels.bytes.get();
  const std::size_t total = pixels.delivered_bytes;  // stride x height: every row, nothing more
  if (polarity.set_is_ink == 0 || polarity.clear_is_ink != 0) {
    // Eight bytes at a time: the same mask in every byte of a word.
    constexpr std::uint64_t kEveryByte = 0x0101'0101'0101'0101u;
    const std::uint64_t set_word = kEveryByte * polarity.set_is_ink;
    const std::uint64_t clear_word = kEveryByte * polarity.clear_is_ink;
    std::size_t i = 0;
    for (; i + sizeof(std::uint64_t) <= total; i += sizeof(std::uint64_t)) {
      std::uint64_t word = 0;
      std::memcpy(&word, bytes + i, sizeof word);
      word = (word & set_word) | (~word & clear_word);
      std::memcpy(bytes + i, &word, sizeof word);
    }
    for (; i < total; ++i) bytes[i] = polarity.ink_of(bytes[i]);
  }
  const std::uint32_t used_bytes = (width + kBitsPerByte - 1) / kBitsPerByte;
  const std::uint32_t spare_bits = used_bytes * kBitsPerByte - width;
  const auto last_byte_mask = static_cast<std::uint8_t>(0xFFu << spare_bits);
  for (std::uint32_t y = 0; y < height; ++y) {
    std::uint8_t* const row = bytes + std::uint64_t{y} * stride;
    row[used_bytes - 1] &= last_byte_mask;
    std::fill(row + used_bytes, row + stride, std::uint8_t{0});
  }
  if (info.biHeight > 0) {
    for (std::uint32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
      std::swap_ranges(bytes + std::uint64_t{top} * stride, bytes + std::uint64_t{top + 1} * stride,
                       bytes + std::uint64_t{bottom} * stride);
    }
  }
  map.width_px = width;
  map.height_px = height;
  map.stride_bytes = stride;
  map.held_rows = RowRange{0, height};
  map.held_columns = width;
  map.file_pixel_bytes = pixels.delivered_bytes;
  map.pixels = std::move(pixels);
}

}  // namespace

ResultCode one_bit_bmp_ink_map(const BmpInfoHeader& info, PixelBuffer&& pixels,
                               const std::uint8_t* ink_indices, std::uint16_t ink_count,
                               InkMap& map, ErrorDetail* detail) {
  const StoredRows stored(info, pixels);
  if (rows_fill_the_buffer(info, pixels, stored)) {
    InkMap made;
    turn_into_map(info, pixels, stored, polarity_of(ink_indices, ink_count), made);
    map = std::move(made);
    return ResultCode::kOk;
  }
  return one_bit_bmp_ink_map(info, static_cast<const PixelBuffer&>(pixels), ink_indices, ink_count,
                             map, detail);
}

ResultCode one_bit_bmp_ink_map(const BmpInfoHeader& info, const PixelBuffer& pixels,
                               const std::uint8_t* ink_indices, std::uint16_t ink_count,
                               InkMap& map, ErrorDetail* detail) {
  const StoredRows stored(info, pixels);
  InkMap made;
  if (const ResultCode made_map = allocate_held_ink_map(
          stored.width(), stored.height(), stored.rows(), stored.columns(), made, detail);
      failed(made_map)) {
    return made_map;
  }
  made.file_pixel_bytes = pixels.bytes ? pixels.delivered_bytes : 0;

  const InkPolarity polarity = polarity_of(ink_indices, ink_count);
  // Bits of columns at or past held_columns are paper in the last byte.
  const std::uint32_t used_bytes = (made.held_columns + kBitsPerByte - 1) / kBitsPerByte;
  const std::uint32_t spare_bits = used_bytes * kBitsPerByte - made.held_columns;
  const auto last_byte_mask = static_cast<std::uint8_t>(0xFFu << spare_bits);
  for (std::uint32_t y = made.held_rows.begin; y < made.held_rows.end; ++y) {
    const std::uint64_t from = stored.row_offset(y);
    std::uint8_t* const row = made.pixels.bytes.get() + made.row_offset(y);
    // Bytes past the delivered ones stay paper.
    const std::uint64_t available =
        from < stored.delivered() ? std::min<std::uint64_t>(used_bytes, stored.delivered() - from)
                                  : 0;
    const std::uint8_t* const source = pixels.bytes.get() + from;
    for (std::uint64_t byte = 0; byte < available; ++byte) {
      row[byte] = polarity.ink_of(source[byte]);
    }
    if (available == used_bytes && used_bytes > 0) row[used_bytes - 1] &= last_byte_mask;
  }
  map = std::move(made);
  return ResultCode::kOk;
}

}  // namespace vellicor
