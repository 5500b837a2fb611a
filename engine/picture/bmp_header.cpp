// Decoding and checking the BMP file and information headers.
#include "engine/picture/bmp_header.hpp"

#include <cstddef>

#include "engine/core/byte_order.hpp"

namespace vellicor {

namespace {

// Hands out the fields of a header in order, each decoded little-endian.
class LittleEndianFields {
 public:
  explicit LittleEndianFields(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint16_t u16() {
    const std::uint16_t value = load_u16_le(bytes_.data() + next_);
    next_ += sizeof value;
    return value;
  }
  std::uint32_t u32() {
    const std::uint32_t value = load_u32_le(bytes_.data() + next_);
    next_ += sizeof value;
    return value;
  }
  // Two's complement reinterpretation, well defined since C++20.
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t next_ = 0;
};

ResultCode unsupported(ErrorDetail* detail) {
  return fail(detail, ErrorDetail::kUnsupported, ResultCode::kFileAccess);
}

}  // namespace

BmpFileHeader decode_file_header(std::span<const std::uint8_t, kBmpFileHeaderSize> bytes) {
  LittleEndianFields fields(bytes);
  BmpFileHeader header;
  header.bfType = fields.u16();
  header.bfSize = fields.u32();
  header.bfReserved1 = fields.u16();
  header.bfReserved2 = fields.u16();
  header.bfOffBits = fields.u32();
  return header;
}

BmpInfoHeader decode_info_header(std::span<const std::uint8_t, kBmpInfoHeaderSize> bytes) {
  LittleEndianFields fields(bytes);
  BmpInfoHeader header;
  header.biSize = fields.u32();
  header.biWidth = fields.i32();
  header.biHeight = fields.i32();
  header.biPlanes = fields.u16();
  header.biBitCount = fields.i16();
  header.biCompression = fields.u32();
  header.biSizeImage = fields.u32();
  header.biXPelsPerMeter = fields.i32();
  header.biYPelsPerMeter = fields.i32();
  header.biClrUsed = fields.u32();
  header.biClrImportant = fields.u32();
  return header;
}

std::uint32_t row_count(const BmpInfoHeader& info) {
  // Negate in unsigned arithmetic: -INT32_MIN does not fit an int32_t.
  const auto height = static_cast<std::uint32_t>(info.biHeight);
  return info.biHeight < 0 ? 0u - height : height;
}

std::uint32_t row_stride(const BmpInfoHeader& info) {
  const std::uint32_t row_bits =
      static_cast<std::uint32_t>(info.biBitCount) * static_cast<std::uint32_t>(info.biWidth);
  // Round up to whole 32-bit words: bits + 31, in bytes, down to a multiple of 4.
  constexpr std::uint32_t kBitsPerByte = 8;
  constexpr std::uint32_t kWordRoundingBits = kRowAlignmentBytes * kBitsPerByte - 1;
  return ((row_bits + kWordRoundingBits) / kBitsPerByte) & ~(kRowAlignmentBytes - 1);
}

ResultCode validate_headers(const BmpFileHeader& file, BmpInfoHeader& info, ErrorDetail* detail) {
  // The loader reads one-bit rows only; anything wider is refused before any
  // other value is looked at.
  if (info.biBitCount > 1) return unsupported(detail);
  // Compressed bytes (RLE, bit fields, embedded JPEG or PNG) are not rows of
  // bits; reading them as such would make glyphs of noise.
  if (info.biCompression != 0) return unsupported(detail);

  if (info.biBitCount <= 0)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  if (info.biHeight == 0)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  if (info.biSize == 0)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  // biSizeImage 0 is allowed for uncompressed pictures and means "exactly the
  // rows"; it is resolved below once the product is known to fit.
  const bool size_left_to_reader = info.biSizeImage == 0;
  if (info.biWidth <= 0)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  if (file.bfOffBits == 0)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  if (file.bfSize == 0)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  if (file.bfOffBits < kBmpMinimumPixelOffset)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);

  const std::uint32_t rows = row_count(info);
  if (!size_left_to_reader && info.biSizeImage < rows)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  const auto bit_count = static_cast<std::uint32_t>(info.biBitCount);
  if (static_cast<std::uint32_t>(info.biWidth) > kMaxRowBits / bit_count)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  const std::uint32_t stride = row_stride(info);
  if (rows > UINT32_MAX / stride)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);

  const std::uint32_t rows_bytes = stride * rows;
  const std::uint32_t size_image = size_left_to_reader ? rows_bytes : info.biSizeImage;
  if (size_image < rows_bytes)
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  info.biSizeImage = size_image;
  return ResultCode::kOk;
}

std::uint32_t palette_entry_count(const BmpInfoHeader& info) {
  if (info.biClrUsed != 0) return info.biClrUsed;
  return std::uint32_t{1} << static_cast<std::uint32_t>(info.biBitCount);
}

}  // namespace vellicor
