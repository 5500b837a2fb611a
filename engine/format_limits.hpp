// Numbers fixed by the file formats and by the engine's text conventions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellicor {

// Every path and field text lives in a buffer of this many bytes, terminator
// included, so a text holds at most 259 characters.
inline constexpr std::size_t kPathBufferSize = 260;
inline constexpr std::size_t kMaxPathLength = kPathBufferSize - 1;

// BMP layout: a 14-byte file header, then a 40-byte information header.
inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
inline constexpr std::uint32_t kBmpMinimumPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize;
inline constexpr std::size_t kPaletteEntrySize = 4;  // blue, green, red, unused
inline constexpr std::uint32_t kMaxPaletteEntries = 256;
inline constexpr std::size_t kInkTableSize = 256;

// BDF: the resolution written in SIZE and assumed by SWIDTH.
inline constexpr std::uint32_t kBdfResolutionDpi = 75;
inline constexpr std::uint32_t kBdfScalableUnitsPerPoint = 72000;  // SWIDTH = DWIDTH * 72000 / (size * dpi)

}  // namespace vellicor
