// The bytes of one stored row of pixels: BMP rows, and the ink map's rows
// that copy their layout, are padded to whole 32-bit words.
#pragma once

#include <cstdint>

#include "engine/core/checked_size.hpp"

namespace vellicor {

inline constexpr std::uint64_t kRowWordBits = 32;
inline constexpr std::uint64_t kRowWordBytes = 4;

// stride_bytes = width_px pixels of bits_per_pixel bits, rounded up to whole
// 32-bit words; false (stride_bytes untouched) when it does not fit 64 bits.
constexpr bool padded_row_bytes(std::uint64_t width_px, std::uint64_t bits_per_pixel,
                                std::uint64_t& stride_bytes) {
  std::uint64_t row_bits = 0;
  if (!checked_multiply(width_px, bits_per_pixel, row_bits) ||
      !checked_add(row_bits, kRowWordBits - 1, row_bits)) {
    return false;
  }
  stride_bytes = row_bits / kRowWordBits * kRowWordBytes;
  return true;
}

}  // namespace vellicor
