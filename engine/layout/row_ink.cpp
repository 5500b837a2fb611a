// Row scans over the ink map's bit strings.
#include "engine/layout/row_ink.hpp"

#include <algorithm>
#include <bit>

namespace vellicor {

namespace {

constexpr std::uint32_t kWordBits = 64;
constexpr std::uint32_t kBitsPerByte = 8;

// The 64 pixels of row y from column x on, column x in the most significant
// bit; pixels outside the map are paper.
std::uint64_t bits_from(const InkMap& map, std::uint32_t y, std::uint32_t x) {
  const std::int64_t byte = x / kBitsPerByte;
  const std::uint32_t shift = x % kBitsPerByte;
  std::uint64_t bits = map.ink_bytes_from(y, byte) << shift;
  if (shift != 0)
    bits |= map.ink_bytes_from(y, byte + InkMap::kBytesPerWord) >> (kWordBits - shift);
  return bits;
}

// The bits of columns [x, to) in a word that starts at column x.
std::uint64_t span_mask(std::uint32_t x, std::uint32_t to) {
  const std::uint32_t count = std::min(kWordBits, to - x);
  return count == kWordBits ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> count);
}

}  // namespace

std::uint32_t next_column_of(const InkMap& map, std::uint32_t y, std::uint32_t from,
                             std::uint32_t to, bool ink) {
  for (std::uint32_t x = from; x < to; x += kWordBits) {
    std::uint64_t bits = bits_from(map, y, x);
    if (!ink) bits = ~bits;
    bits &= span_mask(x, to);
    if (bits != 0) return x + static_cast<std::uint32_t>(std::countl_zero(bits));
  }
  return to;
}

std::uint32_t last_ink_column(const InkMap& map, std::uint32_t y, std::uint32_t from,
                              std::uint32_t to) {
  if (from >= to) return to;
  // Words ending at to, walked right to left; the first may start left of from.
  for (std::uint32_t end = to; end > from;) {
    const std::uint32_t x = end - from >= kWordBits ? end - kWordBits : from;
    const std::uint64_t bits = bits_from(map, y, x) & span_mask(x, end);
    if (bits != 0) {
      return x + kWordBits - 1 - static_cast<std::uint32_t>(std::countr_zero(bits));
    }
    end = x;
  }
  return to;
}

InkBox ink_box_of(const InkMap& map, std::uint32_t left, std::uint32_t right, std::uint32_t top,
                  std::uint32_t bottom) {
  InkBox box;
  std::uint32_t box_right = 0;
  right = std::min(right, map.width_px);
  bottom = std::min(bottom, map.height_px);
  for (std::uint32_t y = top; y < bottom; ++y) {
    const std::uint32_t first = next_column_of(map, y, left, right, true);
    if (first == right) continue;
    const std::uint32_t last = last_ink_column(map, y, first, right);
    if (box.width == 0) {
      box.start = first;
      box.first = y;
      box_right = last;
    } else {
      box.start = std::min(box.start, first);
      box_right = std::max(box_right, last);
    }
    box.last = y;
    box.width = box_right - box.start + 1;
  }
  return box;
}

}  // namespace vellicor
