// Formats BDF text into a fixed buffer and hands it to the output file in
// pieces, so that a line of any length needs no heap memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/file_io.hpp"
#include "engine/result.hpp"

namespace vellicor {

class TextSink {
 public:
  static constexpr std::size_t kBufferSize = 1024;

  explicit TextSink(OutputFile& file) : file_(file) {}
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  void text(std::string_view piece);
  void repeat(char character, std::uint64_t count);
  // Decimal; negative values with a leading minus sign.
  void number(std::int64_t value);
  void number(std::uint64_t value);
  void number(std::uint32_t value) { number(std::uint64_t{value}); }
  // Two upper-case hexadecimal digits.
  void hex_byte(std::uint8_t value) {
    if (buffer_.size() - used_ < 2) spill();
    put_hex_byte(value, buffer_.data() + used_);
    used_ += 2;
  }

  // Room for count characters straight in the buffer, spilling what it holds
  // first when needed; the caller fills it and claims it with advance(count).
  // Null when count exceeds the buffer: such text takes the calls above.
  char* reserve(std::size_t count) {
    if (count > kBufferSize) return nullptr;
    if (kBufferSize - used_ < count) spill();
    return buffer_.data() + used_;
  }
  void advance(std::size_t count) { used_ += count; }

  // Writes value as two upper-case hexadecimal digits at place.
  static void put_hex_byte(std::uint8_t value, char* place) {
    // One two-byte copy from a table of all 256 pairs instead of two lookups.
    std::memcpy(place, kUpperHexPairs.data() + std::size_t{value} * 2, 2);
  }

  // Writes what is still buffered; the first failure of any write.
  ResultCode finish();
  bool ok() const { return succeeded(result_); }

 private:
  static constexpr char kUpperHexDigits[] = "0123456789ABCDEF";
  static constexpr std::size_t kByteValues = 256;
  static constexpr std::array<char, 2 * kByteValues> kUpperHexPairs = [] {
    std::array<char, 2 * kByteValues> pairs{};
    for (std::size_t value = 0; value < kByteValues; ++value) {
      pairs[2 * value] = kUpperHexDigits[value >> 4];
      pairs[2 * value + 1] = kUpperHexDigits[value & 0x0F];
    }
    return pairs;
  }();

  void spill();

  OutputFile& file_;
  std::array<char, kBufferSize> buffer_;  // only the first used_ bytes are ever read
  std::size_t used_ = 0;
  ResultCode result_ = ResultCode::kOk;  // once failed, nothing more is written
};

}  // namespace vellicor
