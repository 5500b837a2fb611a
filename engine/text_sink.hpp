// Formats BDF text into a fixed buffer and hands it to the output file in
// pieces, so that a line of any length needs no heap memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/file_io.hpp"
#include "engine/result.hpp"

namespace vellicor {

class TextSink {
 public:
  explicit TextSink(OutputFile& file) : file_(file) {}
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  void text(std::string_view piece);
  void repeat(char character, std::uint64_t count);
  // Decimal; negative values with a leading minus sign.
  void number(std::int64_t value);
  void number(std::uint64_t value);
  void number(std::uint32_t value) { number(std::uint64_t{value}); }
  // Lower-case hexadecimal, padded with leading zeros to min_digits.
  void lower_hex(std::uint64_t value, std::size_t min_digits);
  // Two upper-case hexadecimal digits.
  void hex_byte(std::uint8_t value) {
    if (buffer_.size() - used_ < 2) spill();
    buffer_[used_++] = kUpperHexDigits[value >> 4];
    buffer_[used_++] = kUpperHexDigits[value & 0x0F];
  }

  // Writes what is still buffered; the first failure of any write.
  ResultCode finish();
  bool ok() const { return succeeded(result_); }

 private:
  static constexpr char kUpperHexDigits[] = "0123456789ABCDEF";
  static constexpr std::size_t kBufferSize = 1024;

  void spill();

  OutputFile& file_;
  std::array<char, kBufferSize> buffer_{};
  std::size_t used_ = 0;
  ResultCode result_ = ResultCode::kOk;  // once failed, nothing more is written
};

}  // namespace vellicor
