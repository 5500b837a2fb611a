// Numbers of the BDF format and the bounds vellicor's BDF reader keeps.
#pragma once

#include <cstdint>

namespace vellicor {

// ENCODING -1 (or any negative value, which FreeType's driver reads as -1)
// marks a glyph without a standard code; codes past Unicode's last code point
// name no character either.
inline constexpr std::int64_t kBdfNoCode = -1;
inline constexpr std::int64_t kBdfCodeLimit = 0x110000;

// SIZE may end in the bits per pixel of a grey font (an extension FreeType
// reads): 1, 2, 4 or 8, other values rounded up to the next of these.
inline constexpr std::uint32_t kBdfMostBitsPerPixel = 8;

// The bitmap bytes a font may keep: a floor that every real font stays under
// (65,536 glyphs of 16 x 16 pixels take 2 MiB), or this many bytes per byte
// of the file, whichever is larger, and never more than the ceiling. Short
// and missing BITMAP lines read as blank pixels, so a few bytes of text could
// otherwise ask for gigabytes of glyph boxes.
inline constexpr std::uint64_t kBdfMinBitmapBudgetBytes = std::uint64_t{8} << 20;  // 8 MiB
inline constexpr std::uint64_t kBdfBitmapBytesPerFileByte = 16;
inline constexpr std::uint64_t kBdfMaxBitmapBudgetBytes = std::uint64_t{512} << 20;  // 512 MiB

}  // namespace vellicor
