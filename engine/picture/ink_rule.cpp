// Ink decisions of the four rules, and the bounded count of a picture's colours.
#include "engine/picture/ink_rule.hpp"

#include <algorithm>

namespace vellicor {

namespace {

// Luma weights (ITU-R BT.601) in thousandths; they add up to 1000.
constexpr std::uint64_t kRedWeight = 299;
constexpr std::uint64_t kGreenWeight = 587;
constexpr std::uint64_t kBlueWeight = 114;
constexpr std::uint64_t kWeightTotal = kRedWeight + kGreenWeight + kBlueWeight;

// A channel composited over white paper: alpha of it, the rest white.
std::uint64_t over_white(std::uint16_t channel, std::uint16_t alpha) {
  const std::uint64_t covered = std::uint64_t{channel} * alpha;
  const std::uint64_t paper = std::uint64_t{kFullChannel} * (kFullChannel - alpha);
  return (covered + paper) / kFullChannel;
}

}  // namespace

bool ink_rule_from_number(std::uint32_t number, InkRule& rule) {
  if (number > static_cast<std::uint32_t>(InkRule::kAuto)) return false;
  rule = static_cast<InkRule>(number);
  return true;
}

Rgba16 colour_of_key(ColourKey key) {
  constexpr ColourKey kChannelMask = 0xFFFF;
  const auto channel = [key](unsigned shift) {
    return static_cast<std::uint16_t>((key >> shift) & kChannelMask);
  };
  return {channel(3 * kChannelBits), channel(2 * kChannelBits), channel(kChannelBits), channel(0)};
}

bool is_ink_by_fixed_rule(InkRule rule, Rgba16 pixel) {
  switch (rule) {
    case InkRule::kBlack:
      // Over white paper only a fully opaque black pixel stays pure black.
      return pixel.alpha == kFullChannel && pixel.red == 0 && pixel.green == 0 && pixel.blue == 0;
    case InkRule::kDark: {
      const std::uint64_t luma_thousandths = kRedWeight * over_white(pixel.red, pixel.alpha) +
                                             kGreenWeight * over_white(pixel.green, pixel.alpha) +
                                             kBlueWeight * over_white(pixel.blue, pixel.alpha);
      // luma < full / 2, kept in whole numbers.
      return 2 * luma_thousandths < kWeightTotal * kFullChannel;
    }
    case InkRule::kOpaque:
      return 2 * std::uint32_t{pixel.alpha} >= kFullChannel;
    case InkRule::kAuto:
      break;
  }
  return false;
}

std::size_t CommonColourCounter::find_slot(ColourKey key) const {
  // Fibonacci hashing spreads the packed channels over the table.
  constexpr ColourKey kGoldenRatio = 0x9E3779B97F4A7C15u;
  constexpr unsigned kTableBits = 11;  // log2(kTableSize)
  static_assert(std::size_t{1} << kTableBits == kTableSize);
  std::size_t slot = static_cast<std::size_t>((key * kGoldenRatio) >> (64 - kTableBits));
  while (counts_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) % kTableSize;
  return slot;
}

void CommonColourCounter::add(ColourKey key, std::uint64_t count) {
  while (count != 0) {
    if (counts_[last_slot_] != 0 && keys_[last_slot_] == key) {
      counts_[last_slot_] += count;
      return;
    }
    const std::size_t slot = find_slot(key);
    if (counts_[slot] != 0 || used_ < kSlots) {
      if (counts_[slot] == 0) {
        keys_[slot] = key;
        ++used_;
      }
      counts_[slot] += count;
      last_slot_ = slot;
      return;
    }
    // Every counter holds another colour: the new colour and every counted
    // one lose as many pixels as the smallest of them holds. Each such step
    // removes at least kSlots + 1 counted pixels, so the steps are few.
    std::uint64_t smallest = count;
    for (const std::uint64_t held : counts_) {
      if (held != 0) smallest = std::min(smallest, held);
    }
    decrement_all(smallest);
    count -= smallest;
  }
}

void CommonColourCounter::decrement_all(std::uint64_t amount) {
  std::array<ColourKey, kTableSize> old_keys = keys_;
  std::array<std::uint64_t, kTableSize> old_counts = counts_;
  counts_.fill(0);
  used_ = 0;
  last_slot_ = 0;
  for (std::size_t old = 0; old < kTableSize; ++old) {
    if (old_counts[old] <= amount) continue;
    const std::size_t slot = find_slot(old_keys[old]);
    keys_[slot] = old_keys[old];
    counts_[slot] = old_counts[old] - amount;
    ++used_;
  }
}

ColourKey CommonColourCounter::most_common() const {
  ColourKey best_key = 0;
  std::uint64_t best_count = 0;
  for (std::size_t slot = 0; slot < kTableSize; ++slot) {
    const std::uint64_t held = counts_[slot];
    if (held > best_count || (held == best_count && held != 0 && keys_[slot] < best_key)) {
      best_key = keys_[slot];
      best_count = held;
    }
  }
  return best_key;
}

}  // namespace vellicor
