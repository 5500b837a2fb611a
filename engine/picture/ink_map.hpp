// The one thing every picture reader yields: a one-bit map of the picture's
// ink, top row first, and the limits that keep building it cheap.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/core/limits.hpp"
#include "engine/picture/pixel_buffer.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Rows [begin, end) of a picture, counted from the top.
struct RowRange {
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
  bool empty() const { return begin >= end; }
};

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

// What every picture reader yields and the layout reads: a one-bit map of
// the picture's ink, nothing of the file's format left in it. The picture is
// width_px x height_px; the map holds the rows held_rows of it, each
// stride_bytes long (whole 32-bit words, zero past held_columns), top row
// first, leftmost pixel in the most significant bit, 1 for ink. Every pixel
// outside the held rows and columns is paper. Readers of whole pictures hold
// everything; a file that delivers only part of what its header declares
// holds only that part, so memory follows the file, not the header.
struct InkMap {
  static constexpr std::uint32_t kBytesPerWord = 8;

  std::uint32_t width_px = 0;
  std::uint32_t height_px = 0;
  std::uint32_t stride_bytes = 0;
  RowRange held_rows;
  std::uint32_t held_columns = 0;
  // Pixel bytes the picture's file delivered; the font a conversion may
  // write grows with them (font_size_limit).
  std::uint64_t file_pixel_bytes = 0;
  PixelBuffer pixels;  // stride_bytes x the held rows, all delivered

  void set_ink(std::uint32_t x, std::uint32_t y) {
    constexpr unsigned kHighestBit = 7;
    pixels.bytes[std::size_t{y - held_rows.begin} * stride_bytes + x / 8] |=
        static_cast<std::uint8_t>(0x80u >> (x & kHighestBit));
  }

  // Byte offset of held row y in pixels.
  std::uint64_t row_offset(std::uint32_t y) const {
    return std::uint64_t{y - held_rows.begin} * stride_bytes;
  }

  // Ink bits of the 64 pixels from byte 8 * word_index of row y on, the
  // leftmost in the most significant bit; bits past the width are paper.
  std::uint64_t ink_word(std::uint32_t y, std::uint32_t word_index) const {
    return ink_bytes_from(y, std::int64_t{word_index} * kBytesPerWord);
  }

  // Ink bits of the 64 pixels held by bytes byte_index ... byte_index + 7 of
  // row y. Bytes before the row's start or past its end (byte_index may be
  // negative), and rows that are not held, are paper.
  std::uint64_t ink_bytes_from(std::uint32_t y, std::int64_t byte_index) const {
    if (byte_index >= 0 && static_cast<std::uint64_t>(byte_index) + kBytesPerWord <= stride_bytes &&
        y >= held_rows.begin && y < held_rows.end) {
      return ink_bytes_at(row_offset(y) + static_cast<std::uint64_t>(byte_index));
    }
    return gathered_ink_bytes(y, byte_index);
  }

  // True when bytes first_byte ... first_byte + count - 1 of every row in rows
  // lie inside the held rows and stride, so that ink_bytes_at may read them.
  bool holds_bytes(RowRange rows, std::int64_t first_byte, std::uint64_t count) const {
    if (rows.empty() || rows.begin < held_rows.begin || rows.end > held_rows.end) return false;
    return first_byte >= 0 && count <= stride_bytes &&
           static_cast<std::uint64_t>(first_byte) <= stride_bytes - count;
  }
  // ink_bytes_from without its checks, at offset row_offset(y) + byte_index,
  // for bytes that holds_bytes vouched for.
  std::uint64_t ink_bytes_at(std::uint64_t offset) const {
    return load_big_endian(pixels.bytes.get() + offset);
  }

  // Mask of the pixels of word word_index that lie inside the picture's width.
  std::uint64_t column_word_mask(std::uint32_t word_index) const;

  bool is_ink(std::uint32_t x, std::uint32_t y) const {
    constexpr unsigned kHighestBit = 7;
    if (x >= held_columns || y < held_rows.begin || y >= held_rows.end) return false;
    const std::uint8_t byte = pixels.bytes[static_cast<std::size_t>(row_offset(y) + x / 8)];
    return ((byte >> (kHighestBit - (x & kHighestBit))) & 1u) != 0;
  }

  // True when any pixel of the picture is ink.
  bool has_ink() const;
  // True when every pixel of the picture is ink. Stops at the first paper
  // pixel, which in a picture of glyphs comes early.
  bool all_ink() const;

 private:
  // ink_bytes_from for bytes not all inside a held row, byte by byte.
  std::uint64_t gathered_ink_bytes(std::uint32_t y, std::int64_t byte_index) const;
};

// The allowance for a file of file_bytes bytes; 0 means the size is unknown
// (a pipe), which gets the floor.
std::uint64_t decode_budget_bytes(std::uint64_t file_bytes);

// Bytes per ink map row for a width: whole 32-bit words.
std::uint32_t ink_map_stride(std::uint32_t width_px);

// Checks the picture's size against the allowance before anything is
// decoded: kUnusableInput with detail kPictureTooLarge when it is over,
// detail kUnusableContent for an empty picture. row_bytes is the reader's own
// buffer for one decoded row.
ResultCode check_picture_size(std::uint32_t width_px, std::uint32_t height_px,
                              std::uint64_t row_bytes, std::uint64_t file_bytes,
                              ErrorDetail* detail);

// check_picture_size, then allocates the map with every pixel paper
// (kOutOfMemory on failure).
ResultCode allocate_ink_map(std::uint32_t width_px, std::uint32_t height_px,
                            std::uint64_t row_bytes, std::uint64_t file_bytes, InkMap& map,
                            ErrorDetail* detail);

// A map of the given figures with every pixel paper, the held_rows x
// stride bytes allocated (kOutOfMemory, detail kOutOfMemory, on failure). No
// size check: callers bound the figures by what their file delivered.
ResultCode allocate_held_ink_map(std::uint32_t width_px, std::uint32_t height_px,
                                 RowRange held_rows, std::uint32_t held_columns, InkMap& map,
                                 ErrorDetail* detail);

}  // namespace vellicor
