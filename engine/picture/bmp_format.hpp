// The two BMP header records and the ink index table, as the loader fills them.
#pragma once

#include <array>
#include <cstdint>

#include "engine/core/limits.hpp"

namespace vellicor {

// The 14-byte file header, field for field (values decoded from little-endian).
struct BmpFileHeader {
  std::uint16_t bfType = 0;  // "BM" reads as 0x4D42
  std::uint32_t bfSize = 0;
  std::uint16_t bfReserved1 = 0;
  std::uint16_t bfReserved2 = 0;
  std::uint32_t bfOffBits = 0;  // file offset of the pixel data
};

// The 40-byte information header at file offset 14, field for field.
struct BmpInfoHeader {
  std::uint32_t biSize = 0;  // length of the information header as the file declares it
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;  // > 0: bottom row first; < 0: top row first
  std::uint16_t biPlanes = 0;
  std::int16_t biBitCount = 0;
  std::uint32_t biCompression = 0;
  // Bytes of pixel data. After a successful load never 0: a file that leaves it
  // at 0 gets stride * abs(biHeight) here.
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};

// The palette indices that are ink (pure black), in rising order; the count of
// valid entries travels beside it and can reach 256.
using InkIndexTable = std::array<std::uint8_t, kInkTableSize>;

inline constexpr std::uint16_t kBmpSignature = 0x4D42;  // "BM" read little-endian

}  // namespace vellicor
