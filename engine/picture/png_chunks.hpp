// The chunk layout of a PNG file held in memory, checked before any decoder
// sees it: for decoders that check neither chunk checksums nor chunk order
// nor the end marker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/core/byte_order.hpp"
#include "engine/io/file_system.hpp"
#include "engine/io/whole_file.hpp"
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
  std::size_t ihdr_offset = 0;  // where the IHDR's data begins
  PngChunkData palette;         // the PLTE taken
  PngChunkData transparency;    // the tRNS taken
  // The image data: the first run of IDAT chunks, from the first one's
  // length to the end of the last one, and its bytes.
  std::size_t image_data_begin = 0;
  std::size_t image_data_end = 0;
  std::uint64_t image_data_bytes = 0;
  // An IDAT chunk after the run, which makes the file broken (detail
  // kPngBadHeader) once its image data has been found sound.
  bool stray_image_data = false;
  // The walk stopped (kPngChecksum) at an IDAT of the image data whose CRC
  // is wrong; the image data ends with it. A decoder reading the file in
  // order finds the data itself broken first when it is (kPngBadData).
  bool image_data_checksum_broken = false;
};

// The CRC-32 that PNG chunks carry.
std::uint32_t png_crc32(const std::uint8_t* bytes, std::size_t count);

// Walks the chunks of the size bytes at bytes from the signature to IEND,
// refusing what libspng refuses before the image data is decoded. Refusals,
// all kUnusableInput: detail kNotBmp without the signature; kPngTruncated
// when a chunk runs past the end or IEND never comes; kPngChecksum for a
// wrong CRC on IHDR, PLTE, IDAT or IEND (ancillary chunks with a wrong CRC
// carry nothing the ink depends on and are passed over); kPictureTooLarge
// when the text chunks a decoder would keep exceed kPngChunkCacheLimit;
// kPngBadHeader for impossible IHDR values, an unknown critical chunk, IHDR
// not first or twice, a palette picture without its palette before the image
// data, a palette with more entries than the depth can index, data in IEND,
// or no image data. A PLTE or tRNS out of place, repeated or not fitting the
// picture is passed over, as is any ancillary chunk longer than
// kPngChunkSizeLimit. IHDR's values are judged before its checksum, with
// kPictureTooLarge for a side over kMaxPictureSidePx; the lengths IHDR and
// IEND allow, and unknown critical chunks, before anything past the type.
// layout holds what was found, also when the walk fails.
ResultCode check_png_chunks(const std::uint8_t* bytes, std::size_t size, PngLayout& layout,
                            ErrorDetail* detail);

// Reads the PNG file from its start into file (at most max_bytes, refused as
// kPictureTooLarge; a pipe's buffer starting at first_read_bytes), then walks
// its chunks with check_png_chunks. A failed read leaves layout as it was.
ResultCode read_png_chunks(FileSystem& fs, FileHandle input, std::uint64_t max_bytes,
                           std::size_t first_read_bytes, WholeFile& file, PngLayout& layout,
                           ErrorDetail* detail);

// Copies the image data (layout.image_data_bytes) of a file that passed
// check_png_chunks to out.
void gather_png_image_data(const std::uint8_t* bytes, const PngLayout& layout, std::uint8_t* out);

// Calls visit(type, data_offset, length) for each chunk of a file that
// passed check_png_chunks, IHDR to IEND; type points at its four letters.
template <typename Visit>
void for_each_png_chunk(const std::uint8_t* bytes, std::size_t size, Visit visit) {
  constexpr std::size_t kFraming = 12;  // length, type, CRC
  std::size_t at = 8;                   // past the signature
  while (size - at >= kFraming) {
    const std::uint32_t length = load_u32_be(bytes + at);
    visit(bytes + at + 4, at + 8, length);
    if (std::memcmp(bytes + at + 4, "IEND", 4) == 0) break;
    at += kFraming + length;
  }
}

// The bytes of one decoded row of the picture's image data before filtering
// (without its filter byte) for a pass width_px pixels wide.
std::uint64_t png_scanline_bytes(const PngHeader& header, std::uint32_t width_px);

// The size of the whole inflated image data: every row of every pass, each
// with its filter byte.
std::uint64_t png_inflated_bytes(const PngHeader& header);

// False when a row that begins within the count inflated bytes has a filter
// type past the five PNG knows.
bool png_filters_known(const PngHeader& header, const std::uint8_t* inflated, std::size_t count);

}  // namespace vellicor
