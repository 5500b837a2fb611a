// PNG files built byte by byte for the reader's tests: chunks with their
// checksums, and image data in stored (uncompressed) deflate blocks, so a
// test can break any one part on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vellicor::test {

struct PngChunk {
  std::string type;  // four letters
  std::vector<std::uint8_t> data;
};

std::uint32_t crc32_of(const std::uint8_t* bytes, std::size_t count);

// Length, type, data and CRC.
std::vector<std::uint8_t> chunk_bytes(const PngChunk& chunk);
// The signature and the chunks.
std::vector<std::uint8_t> png_file(const std::vector<PngChunk>& chunks);
// The 13 bytes of an IHDR.
PngChunk ihdr_chunk(std::uint32_t width, std::uint32_t height, std::uint8_t bit_depth,
                    std::uint8_t colour_type, std::uint8_t interlace = 0);
// A zlib stream of stored blocks holding raw, with its Adler-32.
std::vector<std::uint8_t> zlib_stored(const std::vector<std::uint8_t>& raw);

// A one-bit greyscale PNG of rows drawn as text ('#' black, else white):
// IHDR, one IDAT, IEND.
std::vector<PngChunk> grey_strip_chunks(const std::vector<std::string>& rows);
// An 8-bit RGBA PNG of width x height pixels, each four bytes R, G, B, A,
// top row first.
std::vector<std::uint8_t> rgba_png(std::uint32_t width, std::uint32_t height,
                                   const std::vector<std::uint8_t>& pixels);

// A PNG of width x height pixels of any colour type and bit depth, each
// pixel's samples (one per channel of the colour type, each below 2^depth)
// given by samples(x, y); rows unfiltered, in Adam7 passes when interlaced.
// extra chunks (PLTE, tRNS) go between IHDR and IDAT.
std::vector<std::uint8_t> layout_png(
    std::uint32_t width, std::uint32_t height, std::uint8_t bit_depth, std::uint8_t colour_type,
    bool interlaced,
    const std::function<std::vector<std::uint16_t>(std::uint32_t, std::uint32_t)>& samples,
    const std::vector<PngChunk>& extra = {});

// Offsets in the file at which each chunk begins, and the file's end.
std::vector<std::size_t> chunk_boundaries(const std::vector<PngChunk>& chunks);

}  // namespace vellicor::test
