// What counts as ink in a picture of any colour format: the four rules a
// conversion can ask for, decided pixel by pixel on 16-bit RGBA values.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellicor {

// The values of the public VELLICOR_INK_* numbers.
enum class InkRule : std::uint32_t {
  kBlack = 0,   // pure black and fully opaque
  kDark = 1,    // luminance below one half once composited over white paper
  kOpaque = 2,  // at least half opaque, whatever the colour
  kAuto = 3,    // every colour but the most common one
};

// The rule for a public number; false for a number that names no rule.
bool ink_rule_from_number(std::uint32_t number, InkRule& rule);

// One pixel with 16 bits per channel; 8-bit and narrower samples are scaled
// so that their largest value becomes 0xFFFF.
struct Rgba16 {
  std::uint16_t red = 0;
  std::uint16_t green = 0;
  std::uint16_t blue = 0;
  std::uint16_t alpha = 0xFFFF;
};

inline constexpr std::uint16_t kFullChannel = 0xFFFF;

// The sample of an 8-bit channel on the 16-bit scale (0xFF becomes 0xFFFF).
constexpr std::uint16_t widen8(std::uint8_t value) {
  return static_cast<std::uint16_t>(value * 0x101u);
}

// A pixel's identity for the automatic rule: its four channels, except that
// every fully transparent pixel is the same colour whatever its RGB values.
using ColourKey = std::uint64_t;
inline constexpr unsigned kChannelBits = 16;
// Inline: the readers take the key of every pixel.
constexpr ColourKey colour_key(Rgba16 pixel) {
  if (pixel.alpha == 0) return 0;
  return (ColourKey{pixel.red} << (3 * kChannelBits)) |
         (ColourKey{pixel.green} << (2 * kChannelBits)) | (ColourKey{pixel.blue} << kChannelBits) |
         pixel.alpha;
}
// The pixel a key stands for; key 0 gives transparent black. Every rule
// decides the pixel of a key as it decides each pixel that has that key.
Rgba16 colour_of_key(ColourKey key);

// The three rules that need nothing but the pixel. Not for kAuto.
bool is_ink_by_fixed_rule(InkRule rule, Rgba16 pixel);

// Finds the most common colour of a picture in memory that does not grow
// with the number of colours: the counting of Misra and Gries with kSlots
// counters. With at most kSlots different colours the counts are exact, so
// the answer is the most common colour (the smallest key on a tie); with more,
// any colour that covers more than 1/(kSlots + 1) of the pixels is still
// found, and the paper of a glyph strip covers far more than that.
class CommonColourCounter {
 public:
  static constexpr std::size_t kSlots = 1024;

  // Counts count pixels of one colour (a run of equal pixels at once).
  void add(ColourKey key, std::uint64_t count = 1);
  // The most common colour counted so far; 0 (transparent black) when empty.
  ColourKey most_common() const;

 private:
  // An open-addressed table twice the size of the counters it holds, so a
  // lookup stays a few probes.
  static constexpr std::size_t kTableSize = 2 * kSlots;

  std::size_t find_slot(ColourKey key) const;
  // Takes amount pixels from every counted colour and drops those left at 0.
  void decrement_all(std::uint64_t amount);

  std::array<ColourKey, kTableSize> keys_{};
  std::array<std::uint64_t, kTableSize> counts_{};  // 0: the slot is free
  std::size_t used_ = 0;
  std::size_t last_slot_ = 0;  // most runs repeat the previous colour
};

// The ink decision of a rule for a whole picture: for kAuto, with the paper
// colour found by a first pass.
class InkClassifier {
 public:
  explicit InkClassifier(InkRule rule, ColourKey paper = 0) : rule_(rule), paper_(paper) {}
  bool is_ink(Rgba16 pixel) const {
    return rule_ == InkRule::kAuto ? colour_key(pixel) != paper_
                                   : is_ink_by_fixed_rule(rule_, pixel);
  }

 private:
  InkRule rule_;
  ColourKey paper_;
};

}  // namespace vellicor
