// The headers of a BMP file of any depth, as the any-depth reader needs them:
// the 12-byte OS/2 header, the 16- to 64-byte OS/2 2.x headers and the
// Windows headers of 40 bytes and more (52, 56, 108, 124).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

enum class BmpPixelCoding {
  kIndexed,    // 1, 2, 4 or 8 bits of palette index
  kRgb24,      // blue, green, red bytes
  kBitfields,  // 16 or 32 bits split by channel masks
  kRle8,
  kRle4,
};

// Where one channel sits in a 16- or 32-bit pixel.
struct ChannelMask {
  std::uint32_t mask = 0;
  unsigned shift = 0;
  unsigned bits = 0;  // 0: the channel is absent
};

struct BmpAnyHeader {
  std::uint32_t pixel_offset = 0;
  std::uint32_t width_px = 0;
  std::uint32_t height_px = 0;
  bool top_down = false;
  std::uint16_t bits_per_pixel = 0;
  BmpPixelCoding coding = BmpPixelCoding::kIndexed;
  std::array<ChannelMask, 4> masks{};  // red, green, blue, alpha (kBitfields)
  std::uint64_t palette_offset = 0;
  std::uint32_t palette_entries = 0;      // entries to read (at most 256)
  std::uint32_t palette_entry_bytes = 4;  // 3 in the 12-byte OS/2 header
};

// Enough bytes for the file header, the largest information header and the
// colour masks that may follow a 40-byte one.
inline constexpr std::size_t kBmpAnyHeaderBytes = 14 + 124 + 16;

// Decodes and checks the headers from the first bytes of the file (fewer
// than kBmpAnyHeaderBytes when the file is that short). Failures:
// kUnusableInput with detail kNotBmp (no "BM"), kFileAccess with detail
// kUnsupported (a depth or compression no reader here decodes: 64 bits,
// JPEG or PNG inside, Huffman, RLE24), kUnusableInput with detail
// kUnusableContent (impossible values).
ResultCode parse_bmp_any_header(std::span<const std::uint8_t> bytes, BmpAnyHeader& header,
                                ErrorDetail* detail);

}  // namespace vellicor
