// Numbers stored in file bytes: little-endian fields of BMP headers and
// pixels, big-endian ones of PNG chunks, and header fields read by offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vellicor {

constexpr std::uint16_t load_u16_le(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

constexpr std::uint32_t load_u24_le(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16;
}

constexpr std::uint32_t load_u32_le(const std::uint8_t* bytes) {
  return load_u24_le(bytes) | std::uint32_t{bytes[3]} << 24;
}

constexpr std::uint32_t load_u32_be(const std::uint8_t* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | std::uint32_t{bytes[3]};
}

// Little-endian fields at offsets into the first bytes of a file. A file may
// end inside a header: bytes past the end of the span read as 0, which the
// header checks then refuse, so no field read needs its own length check.
class LittleEndianBytes {
 public:
  explicit constexpr LittleEndianBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  constexpr std::uint16_t u16(std::size_t at) const {
    return static_cast<std::uint16_t>(byte(at, 0) | byte(at, 1) << 8);
  }
  constexpr std::uint32_t u32(std::size_t at) const {
    return byte(at, 0) | byte(at, 1) << 8 | byte(at, 2) << 16 | byte(at, 3) << 24;
  }
  // A signed field (BMP width and height): the two's complement of u32.
  constexpr std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }

 private:
  // The byte at + next, compared without adding, so no offset wraps around.
  constexpr std::uint32_t byte(std::size_t at, std::size_t next) const {
    return at < bytes_.size() && next < bytes_.size() - at ? bytes_[at + next] : 0;
  }

  std::span<const std::uint8_t> bytes_;
};

}  // namespace vellicor
