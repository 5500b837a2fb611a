// Builds one-bit BMP files in memory for the tests, the fuzz targets and the
// benchmarks, from rows drawn as text or from pixel bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vellicor::test {

struct BmpOptions {
  bool top_down = false;          // negative biHeight, rows stored top row first
  bool ink_is_index_one = false;  // palette white, black (ink bits are 1) instead of black, white
  std::uint32_t info_header_size = 40;  // biSize; the palette follows the header it declares
  std::uint32_t extra_pixel_bytes = 0;  // added to biSizeImage and to the pixel data, at its start
  bool zero_size_image = false;         // write biSizeImage as 0, as some writers do
};

// The header, palette and pixel area of a one-bit BMP of width_px x height_px
// with every pixel bit 0 (paper when ink is index one, ink otherwise), for
// callers that set the pixel bytes themselves (row stride: one_bit_row_bytes,
// pixels from one_bit_pixel_offset plus options.extra_pixel_bytes).
std::vector<std::uint8_t> blank_one_bit_bmp(std::size_t width_px, std::size_t height_px,
                                            const BmpOptions& options = {});
std::size_t one_bit_row_bytes(std::size_t width_px);
std::size_t one_bit_pixel_offset(const BmpOptions& options);

// A one-bit BMP whose pixels are drawn by rows, top row first: '#' is ink,
// any other character paper. All rows must have the same length.
std::vector<std::uint8_t> make_one_bit_bmp(const std::vector<std::string>& rows,
                                           const BmpOptions& options = {});

// Little-endian field editing, for corrupting headers in tests.
void put_u16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void put_u32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);
std::uint32_t get_u32(const std::vector<std::uint8_t>& bytes, std::size_t offset);

// BMP field offsets used by tests.
inline constexpr std::size_t kBmpFileHeaderBytes = 14;
inline constexpr std::size_t kOffBfSize = 2;
inline constexpr std::size_t kOffBfOffBits = 10;
inline constexpr std::size_t kOffBiSize = 14;
inline constexpr std::size_t kOffBiWidth = 18;
inline constexpr std::size_t kOffBiHeight = 22;
inline constexpr std::size_t kOffBiBitCount = 28;
inline constexpr std::size_t kOffBiCompression = 30;
inline constexpr std::size_t kOffBiSizeImage = 34;
inline constexpr std::size_t kOffBiClrUsed = 46;
inline constexpr std::size_t kOffPalette = 54;

}  // namespace vellicor::test
