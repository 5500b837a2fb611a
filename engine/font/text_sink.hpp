// Formats BDF text straight into the output file's buffer, so that a line of
// any length needs no memory of its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/io/output_file.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

class TextSink {
 public:
  // The most that reserve() gives at once.
  static constexpr std::size_t kMostReserved = OutputFile::kMostReserved;

  explicit TextSink(OutputFile& file) : file_(file) {}
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  void text(std::string_view piece) {
    static_cast<void>(file_.write_exact(piece.data(), piece.size(), nullptr));
  }
  void repeat(char character, std::uint64_t count);
  // Decimal; negative values with a leading minus sign.
  void number(std::int64_t value);
  void number(std::uint64_t value);
  void number(std::uint32_t value) { number(std::uint64_t{value}); }
  // Two upper-case hexadecimal digits.
  void hex_byte(std::uint8_t value) {
    char* const place = file_.reserve(2);
    if (place == nullptr) return;  // no buffer: the file failed to open
    put_hex_byte(value, place);
    file_.advance(2);
  }

  // Room for count characters straight in the file's buffer; the caller fills
  // it and claims it with advance(count). Null when count exceeds
  // kMostReserved: such text takes the calls above.
  char* reserve(std::size_t count) { return file_.reserve(count); }
  void advance(std::size_t count) { file_.advance(count); }

  // Writes value as two upper-case hexadecimal digits at place.
  static void put_hex_byte(std::uint8_t value, char* place) {
    // One two-byte copy from a table of all 256 pairs instead of two lookups.
    std::memcpy(place, kUpperHexPairs.data() + std::size_t{value} * 2, 2);
  }

  // kOk, or kFileAccess once any write of the file failed.
  ResultCode finish() const { return ok() ? ResultCode::kOk : ResultCode::kFileAccess; }
  bool ok() const { return file_.ok(); }

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

  OutputFile& file_;
};

}  // namespace vellicor
