// Saves a drawn picture as BMP: one bit a pixel for ink and paper alone,
// eight with the drawing's palette otherwise, bottom row first as most
// readers expect.
#include <array>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "engine/draw/picture_checks.hpp"
#include "engine/draw/picture_writer.hpp"
#include "engine/font/little_endian.hpp"
#include "engine/io/output_file.hpp"

namespace vellicor {

namespace {

constexpr std::uint16_t kBmpSignature = 0x4D42;  // "BM" read little-endian
constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;   // BITMAPINFOHEADER
constexpr std::uint32_t kPaletteEntryBytes = 4;  // blue, green, red, reserved
constexpr std::uint32_t kRowAlignBytes = 4;
constexpr std::uint16_t kPlanes = 1;
constexpr std::uint32_t kUncompressed = 0;  // BI_RGB
// 72 dots per inch, as most editors write a picture without a resolution.
constexpr std::uint32_t kPixelsPerMeter = 2835;
constexpr unsigned kBitsPerByte = 8;

// A one-bit picture's palette: black first, so that ink is bit 0, as in
// the pictures the plain conversion reads (any black entry is ink there).
constexpr std::uint8_t kOneBitInkIndex = 0;
constexpr std::uint8_t kOneBitPaperIndex = 1;

struct BmpShape {
  std::uint16_t bits_per_pixel = 0;
  std::uint32_t palette_entries = 0;
  std::uint32_t row_bytes = 0;
  std::uint32_t pixel_bytes = 0;
  std::uint32_t pixel_offset = 0;
  std::uint32_t file_bytes = 0;
};

// The file's figures; false when they pass the header's 32-bit fields.
bool shape_of(const DrawnPicture& picture, BmpShape& shape) {
  shape.bits_per_pixel = picture.two_colours ? 1 : 8;
  shape.palette_entries =
      picture.two_colours ? 2 : static_cast<std::uint32_t>(kDrawnPalette.size());
  const std::uint64_t row_bits = std::uint64_t{picture.width} * shape.bits_per_pixel;
  constexpr std::uint64_t kRowAlignBits = std::uint64_t{kRowAlignBytes} * kBitsPerByte;
  const std::uint64_t row_bytes = (row_bits + kRowAlignBits - 1) / kRowAlignBits * kRowAlignBytes;
  const std::uint64_t pixel_offset = kFileHeaderBytes + kInfoHeaderBytes +
                                     std::uint64_t{shape.palette_entries} * kPaletteEntryBytes;
  constexpr std::uint64_t kMost = std::numeric_limits<std::int32_t>::max();
  if (row_bytes > kMost / picture.height) return false;
  const std::uint64_t pixel_bytes = row_bytes * picture.height;
  if (pixel_bytes > kMost - pixel_offset) return false;
  shape.row_bytes = static_cast<std::uint32_t>(row_bytes);
  shape.pixel_bytes = static_cast<std::uint32_t>(pixel_bytes);
  shape.pixel_offset = static_cast<std::uint32_t>(pixel_offset);
  shape.file_bytes = static_cast<std::uint32_t>(pixel_offset + pixel_bytes);
  return true;
}

std::vector<std::uint8_t> headers_of(const DrawnPicture& picture, const BmpShape& shape) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(shape.pixel_offset);
  put_u16(bytes, kBmpSignature);
  put_u32(bytes, shape.file_bytes);
  put_u32(bytes, 0);  // two reserved fields
  put_u32(bytes, shape.pixel_offset);
  put_u32(bytes, kInfoHeaderBytes);
  put_u32(bytes, picture.width);
  put_u32(bytes, picture.height);  // positive: bottom row first
  put_u16(bytes, kPlanes);
  put_u16(bytes, shape.bits_per_pixel);
  put_u32(bytes, kUncompressed);
  put_u32(bytes, shape.pixel_bytes);
  put_u32(bytes, kPixelsPerMeter);
  put_u32(bytes, kPixelsPerMeter);
  put_u32(bytes, shape.palette_entries);
  put_u32(bytes, 0);  // every colour important
  const auto put_colour = [&bytes](const std::array<std::uint8_t, 3>& rgb) {
    put_u8(bytes, rgb[2]);
    put_u8(bytes, rgb[1]);
    put_u8(bytes, rgb[0]);
    put_u8(bytes, 0);
  };
  if (picture.two_colours) {
    put_colour(kDrawnPalette[kDrawnInk]);
    put_colour(kDrawnPalette[kDrawnPaper]);
  } else {
    for (const auto& rgb : kDrawnPalette) put_colour(rgb);
  }
  return bytes;
}

// Row y of the picture in the file's bits: a one-bit row's pixels packed
// high bit first, an eight-bit row's palette indices as they are.
void encode_row(const DrawnPicture& picture, std::uint32_t y, std::vector<std::uint8_t>& row) {
  std::fill(row.begin(), row.end(), std::uint8_t{0});
  const std::uint8_t* const pixels = picture.pixels.data() + std::size_t{y} * picture.width;
  if (!picture.two_colours) {
    std::copy(pixels, pixels + picture.width, row.begin());
    return;
  }
  for (std::uint32_t x = 0; x < picture.width; ++x) {
    const std::uint8_t index = pixels[x] == kDrawnInk ? kOneBitInkIndex : kOneBitPaperIndex;
    row[x / kBitsPerByte] |=
        static_cast<std::uint8_t>(index << (kBitsPerByte - 1 - x % kBitsPerByte));
  }
}

ResultCode write_bmp(FileSystem& files, const char* path, const DrawnPicture& picture,
                     ErrorDetail* detail) {
  if (const ResultCode checked = check_drawn_picture(picture, detail); failed(checked)) {
    return checked;
  }
  BmpShape shape;
  if (!shape_of(picture, shape)) {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  }
  const std::vector<std::uint8_t> headers = headers_of(picture, shape);
  std::vector<std::uint8_t> row(shape.row_bytes);
  OutputFile file(files);
  if (const ResultCode created = file.create(path, detail); failed(created)) return created;
  if (const ResultCode written = file.write_exact(headers.data(), headers.size(), detail);
      failed(written)) {
    return written;
  }
  for (std::uint32_t line = picture.height; line-- > 0;) {
    encode_row(picture, line, row);
    if (const ResultCode written = file.write_exact(row.data(), row.size(), detail);
        failed(written)) {
      return written;
    }
  }
  return file.commit(detail);
}

}  // namespace

ResultCode write_bmp_picture(FileSystem& files, const char* path, const DrawnPicture& picture,
                             ErrorDetail* detail) {
  try {
    return write_bmp(files, path, picture, detail);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
}

}  // namespace vellicor
