// The one thing every picture reader yields: a one-bit map of the picture's
// ink, top row first, and the limits that keep building it cheap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/picture/bmp_format.hpp"
#include "engine/picture/pixel_buffer.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// Rows of width_px one-bit pixels, top row first, leftmost pixel in the most
// significant bit, 1 for ink; each row padded to four bytes with zero bits,
// as a top-down one-bit BMP stores them, so the glyph cutter reads every
// format alike.
struct InkMap {
  std::uint32_t width_px = 0;
  std::uint32_t height_px = 0;
  std::uint32_t stride_bytes = 0;
  PixelBuffer pixels;  // stride_bytes * height_px bytes, all delivered

  void set_ink(std::uint32_t x, std::uint32_t y) {
    constexpr unsigned kHighestBit = 7;
    pixels.bytes[std::size_t{y} * stride_bytes + x / 8] |=
        static_cast<std::uint8_t>(0x80u >> (x & kHighestBit));
  }
};

// How much memory reading a picture may take: the ink map plus the one
// decoded row a reader holds. A picture's declared size costs nothing to
// state, so the allowance follows what the file really holds: a floor that
// every real glyph strip stays under (65,536 glyphs of 8 x 16 pixels in a
// 16-bit RGBA row take about 6.5 MiB), or this many bytes per byte of the
// file, whichever is larger. Decoding work follows the same bound, so no
// small file can make a reader run for long.
inline constexpr std::uint64_t kMinDecodeBudgetBytes = std::uint64_t{8} << 20;  // 8 MiB
inline constexpr std::uint64_t kDecodeBytesPerFileByte = 128;
// Whatever the file's size, never more than this (the ink map's size must
// also fit the 32-bit size field of a BMP header).
inline constexpr std::uint64_t kMaxDecodeBudgetBytes = std::uint64_t{512} << 20;  // 512 MiB
// Neither side of a picture may exceed this many pixels.
inline constexpr std::uint32_t kMaxPictureSidePx = std::uint32_t{1} << 24;

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

// The header of the map as a top-down one-bit BMP (biHeight negative).
BmpInfoHeader ink_map_header(const InkMap& map);

}  // namespace vellicor
