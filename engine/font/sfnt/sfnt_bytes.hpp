// A table of an sfnt font being built in memory: sfnt numbers are
// big-endian, and a few fields (offsets, lengths) are known only once what
// follows them is written, so they are set in place afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vellicor {

class SfntBytes {
 public:
  void u8(std::uint8_t value) { bytes_.push_back(value); }
  void i8(std::int8_t value) { u8(static_cast<std::uint8_t>(value)); }
  void u16(std::uint16_t value) {
    u8(static_cast<std::uint8_t>(value >> 8));
    u8(static_cast<std::uint8_t>(value));
  }
  void i16(std::int16_t value) { u16(static_cast<std::uint16_t>(value)); }
  void u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value >> 16));
    u16(static_cast<std::uint16_t>(value));
  }
  void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
  // Four characters, as tags and vendor names are stored.
  void tag(std::string_view four) {
    for (std::size_t i = 0; i < 4; ++i)
      u8(i < four.size() ? static_cast<std::uint8_t>(four[i]) : ' ');
  }
  void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void append(const std::uint8_t* data, std::size_t count) {
    bytes_.insert(bytes_.end(), data, data + count);
  }

  // Overwrites the 16 or 32 bits at offset, a field written earlier.
  void set_u16(std::size_t offset, std::uint16_t value) {
    bytes_[offset] = static_cast<std::uint8_t>(value >> 8);
    bytes_[offset + 1] = static_cast<std::uint8_t>(value);
  }
  void set_u32(std::size_t offset, std::uint32_t value) {
    set_u16(offset, static_cast<std::uint16_t>(value >> 16));
    set_u16(offset + 2, static_cast<std::uint16_t>(value));
  }

  std::size_t size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace vellicor
