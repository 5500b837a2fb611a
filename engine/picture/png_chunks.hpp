// The chunk layout of a PNG file held in memory, checked before any decoder
// sees it: for decoders that check neither chunk checksums nor chunk order
// nor the end marker.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// What the IHDR chunk says.
struct PngHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t bit_depth = 0;
  std::uint8_t colour_type = 0;
  bool interlaced = false;  // Adam7
};

inline constexpr std::uint8_t kPngColourGrey = 0;
inline constexpr std::uint8_t kPngColourRgb = 2;
inline constexpr std::uint8_t kPngColourPalette = 3;
inline constexpr std::uint8_t kPngColourGreyAlpha = 4;
inline constexpr std::uint8_t kPngColourRgba = 6;

// A chunk's data: offset in the file and length. length 0 with offset 0 is
// a chunk the file does not have.
struct PngChunkData {
  std::size_t offset = 0;
  std::uint32_t length = 0;
  bool present() const { return offset != 0; }
};

// A file whose chunks passed check_png_chunks.
struct PngLayout {
  PngHeader header;
  std::size_t ihdr_offset = 0;         // where the IHDR's data begins
  PngChunkData palette;                // PLTE
  PngChunkData transparency;           // tRNS
  std::uint64_t image_data_bytes = 0;  // all IDAT chunks together
};

// The CRC-32 that PNG chunks carry.
std::uint32_t png_crc32(const std::uint8_t* bytes, std::size_t count);

// Walks the chunks of the size bytes at bytes from the signature to IEND.
// Refusals, all kUnusableInput: detail kNotBmp without the signature;
// kPngTruncated when a chunk runs past the end or IEND never comes;
// kPngChecksum for a wrong CRC on IHDR, PLTE, IDAT or IEND (ancillary chunks
// with a wrong CRC carry nothing the ink depends on and are passed over);
// kPictureTooLarge for a chunk other than IDAT longer than
// kPngChunkSizeLimit; kPngBadHeader for impossible IHDR values, an unknown
// critical chunk, chunks out of order (IHDR first; PLTE and tRNS before the
// image data, which is one run of IDAT chunks; a palette where the colour
// type needs one and nowhere else), a tRNS that does not fit the colour type,
// or no image data.
ResultCode check_png_chunks(const std::uint8_t* bytes, std::size_t size, PngLayout& layout,
                            ErrorDetail* detail);

// Copies the data of every IDAT chunk of a file that passed check_png_chunks
// to out, which holds layout.image_data_bytes.
void gather_png_image_data(const std::uint8_t* bytes, std::size_t size, std::uint8_t* out);

// The bytes of one decoded row of the picture's image data before filtering
// (without its filter byte) for a pass width_px pixels wide.
std::uint64_t png_scanline_bytes(const PngHeader& header, std::uint32_t width_px);

// The size of the whole inflated image data: every row of every pass, each
// with its filter byte.
std::uint64_t png_inflated_bytes(const PngHeader& header);

}  // namespace vellicor
