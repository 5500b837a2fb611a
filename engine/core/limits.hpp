// The engine's limits: numbers fixed by the file formats, and the bounds that
// keep the work of any input small. Hosts see the request's own limits
// through request_limits.hpp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vellicor/internal/request_limits.hpp"

namespace vellicor {

// BMP layout: a 14-byte file header, then a 40-byte information header.
inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr std::size_t kBmpInfoHeaderSize = 40;
inline constexpr std::uint32_t kBmpMinimumPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize;
inline constexpr std::size_t kPaletteEntrySize = 4;  // blue, green, red, unused
inline constexpr std::uint32_t kMaxPaletteEntries = 256;
inline constexpr std::size_t kInkTableSize = 256;

// PNG: ancillary chunks (text, colour profiles) carry nothing the ink depends
// on; these bounds keep a file from making the decoder hold much of them.
inline constexpr std::size_t kPngChunkSizeLimit = std::size_t{1} << 20;   // one chunk: 1 MiB
inline constexpr std::size_t kPngChunkCacheLimit = std::size_t{4} << 20;  // all kept: 4 MiB

// PNG through the Windows Imaging Component. Its decoder may hold the whole
// decoded picture in its own format (up to 8 bytes a pixel) beside the ink
// map, so the number of pixels is capped as well: 2^25 pixels, at most
// 256 MiB held by WIC. The longest strip of real fonts, 65,536 glyphs of
// 8 x 16 pixels in a row (524,288 x 16 = 2^23 pixels), is well within it.
inline constexpr std::uint64_t kWicMaxPixels = std::uint64_t{1} << 25;
// WIC reads the file from memory, so the whole file is held: never more than
// the largest decoding allowance (512 MiB).
inline constexpr std::uint64_t kWicMaxFileBytes = std::uint64_t{512} << 20;
// A file whose size is unknown (a pipe) is read into a buffer that starts at
// this size and doubles, so memory follows what arrives.
inline constexpr std::size_t kWicFirstReadBytes = std::size_t{64} * 1024;
// Rows are converted a band of about this many bytes at a time (at least one
// row), so narrow pictures do not pay one WIC call per row.
inline constexpr std::uint64_t kWicBandBytes = std::uint64_t{256} * 1024;

// PNG decoded whole by stb_image (builds without libspng and without WIC).
// It holds the file, the inflated image data and the decoded picture (up to
// 8 bytes a pixel, twice over for an interlaced one) at once, so files and
// pixels are capped as for WIC.
inline constexpr std::uint64_t kStbMaxPixels = kWicMaxPixels;
inline constexpr std::uint64_t kStbMaxFileBytes = kWicMaxFileBytes;
inline constexpr std::size_t kStbFirstReadBytes = kWicFirstReadBytes;
// deflate writes at most 258 bytes for two bits of its input (a longest
// match whose length and distance codes are one bit each), so image data
// of n bytes never inflates to more than this many bytes per byte.
inline constexpr std::uint64_t kDeflateMostBytesPerByte = std::uint64_t{258} * 4;

// BDF: the resolution written in SIZE and assumed by SWIDTH.
inline constexpr std::uint32_t kBdfResolutionDpi = 75;
inline constexpr std::uint32_t kBdfScalableUnitsPerPoint =
    72000;  // SWIDTH = DWIDTH * 72000 / (size * dpi)

// The largest font a conversion writes: whichever is larger of a fixed floor
// and a multiple of the pixel bytes the file delivered. A picture's declared
// size is free to state, so a file of a few bytes could otherwise ask for
// gigabytes of blank bitmap lines (a huge declared height, one very wide glyph
// in a fixed-width font, the blank-padding options). Real fonts stay far below
// both bounds: 65,536 glyphs of 24x24 pixels write about 4 bytes per
// delivered byte, and 256 glyphs with every blank option at 255 in a fixed
// width font about 18 MiB; the floor keeps every font of a 64 KiB picture
// small enough to write in well under a second.
inline constexpr std::uint64_t kMinFontSizeLimit = std::uint64_t{32} << 20;  // 32 MiB
inline constexpr std::uint64_t kFontBytesPerPixelByte = 64;

// Bytes of glyph records allowed for a picture whose file delivered this many
// pixel bytes.
constexpr std::uint64_t font_size_limit(std::uint64_t delivered_pixel_bytes) {
  // Delivered bytes fit in 32 bits, so the product cannot wrap.
  const std::uint64_t scaled = kFontBytesPerPixelByte * delivered_pixel_bytes;
  return scaled > kMinFontSizeLimit ? scaled : kMinFontSizeLimit;
}

// The picture readers.
//
// How much memory reading a picture may take: the ink map plus the one
// decoded row a reader holds. A picture's declared size costs nothing to
// state, so the allowance follows what the file really holds: a floor that
// every real glyph strip stays under (65,536 glyphs of 8 x 16 pixels in a
// 16-bit RGBA row take about 6.5 MiB), or this many bytes per byte of the
// file, whichever is larger. Decoding work follows the same bound, so no
// small file can make a reader run for long.
inline constexpr std::uint64_t kMinDecodeBudgetBytes = std::uint64_t{8} << 20;  // 8 MiB
inline constexpr std::uint64_t kDecodeBytesPerFileByte = 128;
// Whatever the file's size, never more than this (the ink map's size must
// also fit the 32-bit size field of a BMP header).
inline constexpr std::uint64_t kMaxDecodeBudgetBytes = std::uint64_t{512} << 20;  // 512 MiB
// Neither side of a picture may exceed this many pixels.
inline constexpr std::uint32_t kMaxPictureSidePx = std::uint32_t{1} << 24;

}  // namespace vellicor
