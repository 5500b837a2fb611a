// Buffered text formatting for the font file.
#include "engine/text_sink.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace vellicor {

namespace {

// Enough for any 64-bit decimal number with its sign.
constexpr std::size_t kNumberDigits = 24;
constexpr int kDecimal = 10;

}  // namespace

void TextSink::spill() {
  if (used_ == 0) return;
  if (succeeded(result_)) result_ = write_exact(file_, buffer_.data(), used_, nullptr);
  used_ = 0;
}

void TextSink::text(std::string_view piece) {
  while (!piece.empty()) {
    if (used_ == buffer_.size()) spill();
    const std::size_t room = std::min(piece.size(), buffer_.size() - used_);
    std::memcpy(buffer_.data() + used_, piece.data(), room);
    used_ += room;
    piece.remove_prefix(room);
  }
}

void TextSink::repeat(char character, std::uint64_t count) {
  while (count > 0 && ok()) {
    if (used_ == buffer_.size()) spill();
    const std::size_t room =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer_.size() - used_));
    std::memset(buffer_.data() + used_, character, room);
    used_ += room;
    count -= room;
  }
}

void TextSink::number(std::int64_t value) {
  char digits[kNumberDigits];
  const auto end = std::to_chars(digits, digits + kNumberDigits, value, kDecimal).ptr;
  text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void TextSink::number(std::uint64_t value) {
  char digits[kNumberDigits];
  const auto end = std::to_chars(digits, digits + kNumberDigits, value, kDecimal).ptr;
  text(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

ResultCode TextSink::finish() {
  spill();
  return result_;
}

}  // namespace vellicor
