// Figures appended to a byte buffer least significant byte first, the order
// of the Windows executable and font formats.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vellicor {

inline void put_u8(std::vector<std::uint8_t>& out, std::uint64_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
}

inline void put_u16(std::vector<std::uint8_t>& out, std::uint64_t value) {
  put_u8(out, value);
  put_u8(out, value >> 8);
}

inline void put_u32(std::vector<std::uint8_t>& out, std::uint64_t value) {
  put_u16(out, value);
  put_u16(out, value >> 16);
}

inline void put_bytes(std::vector<std::uint8_t>& out, std::string_view text) {
  out.insert(out.end(), text.begin(), text.end());
}

inline void put_zeros(std::vector<std::uint8_t>& out, std::uint64_t count) {
  out.insert(out.end(), static_cast<std::size_t>(count), std::uint8_t{0});
}

}  // namespace vellicor
