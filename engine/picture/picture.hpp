// Ink lookup in a loaded picture, in the file's own layout: rows bottom-up or
// top-down, padded to four bytes, leftmost pixel in the most significant bit.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/picture/bmp_format.hpp"
#include "engine/picture/pixel_buffer.hpp"

namespace vellicor {

// The eight bytes at bytes as one number, the first in the most significant
// byte: the pixel order of a row.
inline std::uint64_t load_big_endian(const std::uint8_t* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::little) {
#if defined(__GNUC__) || defined(__clang__)
    word = __builtin_bswap64(word);
#else
    constexpr unsigned kBitsPerByte = 8;
    constexpr std::uint64_t kLowByte = 0xFF;
    std::uint64_t swapped = 0;
    for (std::size_t i = 0; i < sizeof word; ++i, word >>= kBitsPerByte) {
      swapped = (swapped << kBitsPerByte) | (word & kLowByte);
    }
    word = swapped;
#endif
  }
  return word;
}

// Rows [begin, end) of a picture, counted from the top.
struct RowRange {
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
  bool empty() const { return begin >= end; }
};

// A read-only view that answers "is this pixel ink?" for a loaded picture.
// Rows are counted from the top of the picture as seen. Pixel bytes that the
// file did not deliver are paper; the view also tells which rows and columns
// can hold delivered bytes at all, so that callers never walk the undelivered
// rest of a picture whose declared size the file does not back.
class PictureView {
 public:
  static constexpr std::uint32_t kBytesPerWord = 8;

  PictureView(const BmpInfoHeader& info, const PixelBuffer& pixels, const std::uint8_t* ink_indices,
              std::uint16_t ink_count);

  std::uint32_t width() const { return width_; }    // 0 when biWidth <= 0
  std::uint32_t height() const { return height_; }  // abs(biHeight)
  std::uint32_t stride() const { return stride_; }  // bytes per row, a multiple of 4

  // Byte offset of row y in the declared pixel data.
  std::uint64_t row_offset(std::uint32_t y) const {
    return bottom_up_ ? size_ - (std::uint64_t{y} + 1) * stride_ : std::uint64_t{y} * stride_;
  }

  // Ink bits of the eight pixels held by byte byte_index of row y: 1 is ink,
  // the most significant bit the leftmost pixel. Padding bits past the width
  // are returned as the file holds them; callers mask them.
  std::uint8_t ink_byte(std::uint32_t y, std::uint32_t byte_index) const {
    const std::uint64_t offset = row_offset(y) + byte_index;
    if (offset >= delivered_) return 0;
    const std::uint8_t bits = bytes_[offset];
    return static_cast<std::uint8_t>((bits & ink_when_set_) | (~bits & ink_when_clear_));
  }

  // Ink bits of the 64 pixels held by bytes 8 * word_index ... 8 * word_index + 7
  // of row y, the leftmost pixel in the most significant bit. Bits of columns
  // at or past the width are unspecified; callers mask them.
  std::uint64_t ink_word(std::uint32_t y, std::uint32_t word_index) const {
    const std::uint64_t offset = row_offset(y) + std::uint64_t{word_index} * kBytesPerWord;
    // Whole words inside the delivered bytes are read in one load, also when
    // they run past the row's end: those bits lie past the width.
    if (offset + kBytesPerWord > delivered_) {
      return gathered_ink_bytes(y, std::int64_t{word_index} * kBytesPerWord);
    }
    const std::uint64_t bits = load_big_endian(bytes_ + offset);
    return (bits & ink_when_set_word_) | (~bits & ink_when_clear_word_);
  }
  // Ink bits of the 64 pixels held by bytes byte_index ... byte_index + 7 of
  // row y, the leftmost pixel in the most significant bit. Bytes before the
  // row's start or past its end (byte_index may be negative) are paper, as are
  // undelivered ones.
  std::uint64_t ink_bytes_from(std::uint32_t y, std::int64_t byte_index) const {
    if (byte_index >= 0 && static_cast<std::uint64_t>(byte_index) + kBytesPerWord <= stride_) {
      const std::uint64_t offset = row_offset(y) + static_cast<std::uint64_t>(byte_index);
      if (offset + kBytesPerWord <= delivered_) {
        const std::uint64_t bits = load_big_endian(bytes_ + offset);
        return (bits & ink_when_set_word_) | (~bits & ink_when_clear_word_);
      }
    }
    return gathered_ink_bytes(y, byte_index);
  }

  // True when bytes first_byte ... first_byte + count - 1 of every row in rows
  // lie inside the row (first_byte may be negative) and were delivered, so
  // that ink_bytes_at may read them.
  bool holds_bytes(RowRange rows, std::int64_t first_byte, std::uint64_t count) const;
  // ink_bytes_from(y, byte_index) without its checks, at offset
  // row_offset(y) + byte_index, for bytes that holds_bytes vouched for.
  std::uint64_t ink_bytes_at(std::uint64_t offset) const {
    const std::uint64_t bits = load_big_endian(bytes_ + offset);
    return (bits & ink_when_set_word_) | (~bits & ink_when_clear_word_);
  }

  // Mask of the pixels of word word_index that lie inside the picture's width.
  std::uint64_t column_word_mask(std::uint32_t word_index) const;

  bool is_ink(std::uint32_t x, std::uint32_t y) const {
    return (ink_byte(y, x >> 3) >> (7 - (x & 7))) & 1u;
  }

  // The rows that hold at least one delivered byte; every other row is paper.
  // They are contiguous: the file delivers a prefix of the pixel data.
  RowRange delivered_rows() const { return delivered_rows_; }
  // Columns at or right of this one are paper in every row.
  std::uint32_t delivered_columns() const { return delivered_columns_; }

  // True when any pixel of the picture is ink. Reads only delivered bytes.
  bool has_ink() const;

 private:
  // ink_bytes_from where the eight bytes are not all inside the row and
  // delivered, byte by byte.
  std::uint64_t gathered_ink_bytes(std::uint32_t y, std::int64_t byte_index) const;

  const std::uint8_t* bytes_;
  std::uint64_t delivered_;
  std::uint64_t size_;
  std::uint32_t width_;
  std::uint32_t height_;
  std::uint32_t stride_;
  bool bottom_up_;
  std::uint8_t ink_when_set_;          // 0xFF when palette index 1 is ink
  std::uint8_t ink_when_clear_;        // 0xFF when palette index 0 is ink
  std::uint64_t ink_when_set_word_;    // ink_when_set_ in all eight bytes
  std::uint64_t ink_when_clear_word_;  // ink_when_clear_ in all eight bytes
  RowRange delivered_rows_;
  std::uint32_t delivered_columns_ = 0;
};

}  // namespace vellicor
