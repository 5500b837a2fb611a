// The ink of a picture as the engine classifies it, for a front end that
// shows the pixels that become the font.
#pragma once

#include <cstdint>
#include <vector>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// One bit per pixel: rows top first, stride_bytes apart, the leftmost pixel of
// a byte in its most significant bit, 1 = ink. Bits past width_px are 0.
struct InkBits {
  std::uint32_t width_px = 0, height_px = 0, stride_bytes = 0;
  std::vector<std::uint8_t> bits;
};

// Reads the picture at path as the extended conversion does under ink_rule
// (VELLICOR_INK_*) and stores its ink in out. On failure out is left as it
// was and detail, when not null, tells why.
ResultCode read_ink_bits(const char* path, std::uint32_t ink_rule, InkBits& out,
                         ErrorDetail* detail);

}  // namespace vellicor
