// Builds one-bit BMP files in memory for the tests, the fuzz targets and the
// benchmarks.
#include "tests/support/bmp_builder.hpp"

#include <stdexcept>

namespace vellicor::test {

void put_u16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<std::uint8_t>(value & 0xFF);
  bytes.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

void put_u32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t get_u32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{bytes.at(offset + i)} << (8 * i);
  return value;
}

std::size_t one_bit_row_bytes(std::size_t width_px) { return (width_px + 31) / 32 * 4; }

std::size_t one_bit_pixel_offset(const BmpOptions& options) {
  return kBmpFileHeaderBytes + options.info_header_size + 2 * 4;
}

std::vector<std::uint8_t> blank_one_bit_bmp(std::size_t width_px, std::size_t height_px,
                                            const BmpOptions& options) {
  const std::size_t stride = one_bit_row_bytes(width_px);
  const std::size_t palette_offset = kBmpFileHeaderBytes + options.info_header_size;
  const std::size_t pixel_offset = one_bit_pixel_offset(options);
  const std::size_t pixel_bytes = stride * height_px + options.extra_pixel_bytes;
  std::vector<std::uint8_t> bytes(pixel_offset + pixel_bytes, 0);

  bytes[0] = 'B';
  bytes[1] = 'M';
  put_u32(bytes, kOffBfSize, static_cast<std::uint32_t>(bytes.size()));
  put_u32(bytes, kOffBfOffBits, static_cast<std::uint32_t>(pixel_offset));
  put_u32(bytes, kOffBiSize, options.info_header_size);
  put_u32(bytes, kOffBiWidth, static_cast<std::uint32_t>(width_px));
  const auto signed_height = static_cast<std::int32_t>(height_px);
  put_u32(bytes, kOffBiHeight,
          static_cast<std::uint32_t>(options.top_down ? -signed_height : signed_height));
  put_u16(bytes, 26, 1);  // biPlanes
  put_u16(bytes, kOffBiBitCount, 1);
  put_u32(bytes, kOffBiSizeImage,
          options.zero_size_image ? 0 : static_cast<std::uint32_t>(pixel_bytes));
  put_u32(bytes, kOffBiClrUsed, 2);

  // Palette: black then white, or white then black.
  const std::size_t black = options.ink_is_index_one ? 1 : 0;
  for (std::size_t entry = 0; entry < 2; ++entry) {
    const std::uint8_t level = entry == black ? 0 : 0xFF;
    for (std::size_t channel = 0; channel < 3; ++channel)
      bytes[palette_offset + entry * 4 + channel] = level;
  }
  return bytes;
}

std::vector<std::uint8_t> make_one_bit_bmp(const std::vector<std::string>& rows,
                                           const BmpOptions& options) {
  const std::size_t height = rows.size();
  const std::size_t width = height == 0 ? 0 : rows[0].size();
  for (const std::string& row : rows) {
    if (row.size() != width) throw std::invalid_argument("rows differ in length");
  }
  std::vector<std::uint8_t> bytes = blank_one_bit_bmp(width, height, options);
  const std::size_t stride = one_bit_row_bytes(width);
  const std::size_t pixel_offset = one_bit_pixel_offset(options);
  const std::uint8_t ink_bit = options.ink_is_index_one ? 1 : 0;
  for (std::size_t y = 0; y < height; ++y) {
    const std::size_t stored_row = options.top_down ? y : height - 1 - y;
    const std::size_t row_start = pixel_offset + options.extra_pixel_bytes + stored_row * stride;
    for (std::size_t x = 0; x < stride * 8; ++x) {
      const bool ink = x < width && rows[y][x] == '#';
      const std::uint8_t bit = ink ? ink_bit : static_cast<std::uint8_t>(1 - ink_bit);
      if (bit) bytes[row_start + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  return bytes;
}

}  // namespace vellicor::test
