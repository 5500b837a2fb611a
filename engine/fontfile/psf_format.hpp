// Numbers of the PC Screen Font formats, PSF 1 and PSF 2, as the Linux
// kernel's documentation and kbd's psf.h state them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vellicor {

// PSF 1: two magic bytes, a mode byte and the bytes of a glyph (its height;
// glyphs are 8 pixels wide), then 256 or 512 glyphs.
inline constexpr std::array<std::uint8_t, 2> kPsf1Magic = {0x36, 0x04};
inline constexpr std::size_t kPsf1HeaderSize = 4;
inline constexpr std::size_t kPsf1ModeAt = 2;
inline constexpr std::size_t kPsf1GlyphBytesAt = 3;
inline constexpr std::uint8_t kPsf1Mode512 = 0x01;     // 512 glyphs rather than 256
inline constexpr std::uint8_t kPsf1ModeHasTab = 0x02;  // a Unicode table follows the glyphs
inline constexpr std::uint8_t kPsf1ModeHasSeq = 0x04;  // the table holds sequences (a table too)
inline constexpr std::uint8_t kPsf1MaxMode = 0x05;     // kbd refuses any larger mode
inline constexpr std::uint32_t kPsf1Width = 8;
inline constexpr std::uint32_t kPsf1SmallCount = 256;
inline constexpr std::uint32_t kPsf1LargeCount = 512;
// Table entries are 16-bit little-endian code points.
inline constexpr std::uint16_t kPsf1Separator = 0xFFFF;  // ends a glyph's entry
inline constexpr std::uint16_t kPsf1StartSeq = 0xFFFE;   // starts a sequence

// PSF 2: eight little-endian 32-bit fields, the glyphs at headersize.
inline constexpr std::array<std::uint8_t, 4> kPsf2Magic = {0x72, 0xb5, 0x4a, 0x86};
inline constexpr std::size_t kPsf2HeaderSize = 32;
inline constexpr std::size_t kPsf2VersionAt = 4;
inline constexpr std::size_t kPsf2HeaderSizeAt = 8;
inline constexpr std::size_t kPsf2FlagsAt = 12;
inline constexpr std::size_t kPsf2LengthAt = 16;
inline constexpr std::size_t kPsf2GlyphBytesAt = 20;
inline constexpr std::size_t kPsf2HeightAt = 24;
inline constexpr std::size_t kPsf2WidthAt = 28;
inline constexpr std::uint32_t kPsf2MaxVersion = 0;
inline constexpr std::uint32_t kPsf2HasUnicodeTable = 0x01;
// Table entries are UTF-8.
inline constexpr std::uint8_t kPsf2Separator = 0xFF;  // ends a glyph's entry
inline constexpr std::uint8_t kPsf2StartSeq = 0xFE;   // starts a sequence

}  // namespace vellicor
