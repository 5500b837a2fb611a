// Failure reporting and the sample picture of the fuzz targets.
#include "fuzz/fuzz_check.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/core/limits.hpp"

namespace vellicor::fuzz {

namespace {

void put_u16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put_u32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  put_u16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  put_u16(bytes, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

void fail_property(const char* what, const char* details) {
  // Nothing more can be done if the message cannot be printed.
  static_cast<void>(std::fprintf(stderr, "property failed: %s %s\n", what, details));
  std::abort();
}

std::vector<std::uint8_t> sample_picture() {
  // Top-down rows, '#' ink; column 0 stays paper, every glyph ends at a blank.
  static const char* const kRows[] = {
      "................................", ".###..#....##...................",
      ".#.#..#...#..#..................", ".###..#...####..................",
      ".#.#..#...#..#..................",
  };
  constexpr std::uint32_t kWidth = 32;
  constexpr std::uint32_t kHeight = sizeof kRows / sizeof kRows[0];
  constexpr std::uint32_t kStride = 4;
  constexpr std::uint32_t kPaletteSize = 2 * kPaletteEntrySize;
  constexpr std::uint32_t kPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize + kPaletteSize;
  std::vector<std::uint8_t> bytes = {'B', 'M'};
  put_u32(bytes, kPixelOffset + kStride * kHeight);
  put_u32(bytes, 0);
  put_u32(bytes, kPixelOffset);
  put_u32(bytes, kBmpInfoHeaderSize);
  put_u32(bytes, kWidth);
  put_u32(bytes, static_cast<std::uint32_t>(-static_cast<std::int32_t>(kHeight)));
  put_u16(bytes, 1);
  put_u16(bytes, 1);
  put_u32(bytes, 0);
  put_u32(bytes, kStride * kHeight);
  put_u32(bytes, 0);
  put_u32(bytes, 0);
  put_u32(bytes, 2);
  put_u32(bytes, 0);
  put_u32(bytes, 0x00000000);  // entry 0 black: ink
  put_u32(bytes, 0x00FFFFFF);  // entry 1 white
  for (const char* row : kRows) {
    for (std::uint32_t byte = 0; byte < kStride; ++byte) {
      std::uint8_t bits = 0;
      for (std::uint32_t bit = 0; bit < 8; ++bit) {
        const bool ink = row[byte * 8 + bit] == '#';
        if (!ink) bits = static_cast<std::uint8_t>(bits | (0x80u >> bit));
      }
      bytes.push_back(bits);
    }
  }
  return bytes;
}

}  // namespace vellicor::fuzz
