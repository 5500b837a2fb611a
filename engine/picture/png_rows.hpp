// Rows of PNG pixels as the decoders hand them out (libspng, the Windows
// Imaging Component), read as colour keys for the shared ink passes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "engine/picture/ink_passes.hpp"
#include "engine/picture/ink_rule.hpp"

namespace vellicor {

// How a decoded row stores its pixels. The 16-bit layouts hold samples in
// the host's byte order.
enum class PngRowLayout {
  kRgba8,   // red, green, blue, alpha: 8 bits each
  kRgba16,  // red, green, blue, alpha: 16 bits each
  kRgb16,   // red, green, blue: 16 bits each, opaque
  kGrey16,  // one 16-bit grey sample, opaque
};

constexpr std::uint64_t bytes_per_pixel(PngRowLayout layout) {
  switch (layout) {
    case PngRowLayout::kRgba16:
      return 8;
    case PngRowLayout::kRgb16:
      return 6;
    case PngRowLayout::kGrey16:
      return 2;
    case PngRowLayout::kRgba8:
      break;
  }
  return 4;
}

// The pixel at column x of a row in layout kLayout.
template <PngRowLayout kLayout>
inline Rgba16 png_pixel_at(const std::uint8_t* row, std::uint32_t x) {
  if constexpr (kLayout == PngRowLayout::kRgba8) {
    const std::size_t at = std::size_t{x} * 4;
    return {widen8(row[at]), widen8(row[at + 1]), widen8(row[at + 2]), widen8(row[at + 3])};
  } else {
    constexpr std::size_t kChannels = bytes_per_pixel(kLayout) / sizeof(std::uint16_t);
    std::array<std::uint16_t, kChannels> channels{};
    std::memcpy(channels.data(), row + std::size_t{x} * sizeof channels, sizeof channels);
    if constexpr (kChannels == 1) {
      return {channels[0], channels[0], channels[0], kFullChannel};
    } else if constexpr (kChannels == 3) {
      return {channels[0], channels[1], channels[2], kFullChannel};
    } else {
      return {channels[0], channels[1], channels[2], channels[3]};
    }
  }
}

// Calls use(std::integral_constant<PngRowLayout, layout>), so the per-pixel
// work is compiled for each layout.
template <typename Use>
void with_png_layout(PngRowLayout layout, Use use) {
  switch (layout) {
    case PngRowLayout::kRgba8:
      use(std::integral_constant<PngRowLayout, PngRowLayout::kRgba8>{});
      break;
    case PngRowLayout::kRgba16:
      use(std::integral_constant<PngRowLayout, PngRowLayout::kRgba16>{});
      break;
    case PngRowLayout::kRgb16:
      use(std::integral_constant<PngRowLayout, PngRowLayout::kRgb16>{});
      break;
    case PngRowLayout::kGrey16:
      use(std::integral_constant<PngRowLayout, PngRowLayout::kGrey16>{});
      break;
  }
}

// Hands row y to pass (a pass of read_ink_in_passes<KeyedColours>): the
// pixels at first, first + step, ... below width_px, which an interlaced
// file delivers pass by pass.
template <class Pass>
void take_png_row(Pass& pass, PngRowLayout layout, const std::uint8_t* row, std::uint32_t y,
                  std::uint32_t first, std::uint32_t step, std::uint32_t width_px) {
  with_png_layout(layout, [&](auto kind) {
    take_row_runs(pass, y, first, step, width_px, [row](std::uint32_t x) {
      return colour_key(png_pixel_at<decltype(kind)::value>(row, x));
    });
  });
}

}  // namespace vellicor
