// Size arithmetic that cannot wrap: checked forms that refuse an overflow,
// and saturating forms for bounds that only need to stay large.
#pragma once

#include <cstdint>
#include <limits>

namespace vellicor {

inline constexpr std::uint64_t kLargestSize = std::numeric_limits<std::uint64_t>::max();

// product = a * b; false (product untouched) when it does not fit 64 bits.
// Checked in divide form, before multiplying.
constexpr bool checked_multiply(std::uint64_t a, std::uint64_t b, std::uint64_t& product) {
  if (a != 0 && b > kLargestSize / a) return false;
  product = a * b;
  return true;
}

// sum = a + b; false (sum untouched) when it does not fit 64 bits.
constexpr bool checked_add(std::uint64_t a, std::uint64_t b, std::uint64_t& sum) {
  if (b > kLargestSize - a) return false;
  sum = a + b;
  return true;
}

// a * b, or the largest 64-bit number when the product does not fit.
constexpr std::uint64_t saturating_multiply(std::uint64_t a, std::uint64_t b) {
  std::uint64_t product = kLargestSize;
  return checked_multiply(a, b, product) ? product : kLargestSize;
}

// a + b, or the largest 64-bit number when the sum does not fit.
constexpr std::uint64_t saturating_add(std::uint64_t a, std::uint64_t b) {
  std::uint64_t sum = kLargestSize;
  return checked_add(a, b, sum) ? sum : kLargestSize;
}

}  // namespace vellicor
