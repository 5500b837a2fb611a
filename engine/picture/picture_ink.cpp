// Choosing the reader for a picture by its signature.
#include "engine/picture/picture_ink.hpp"

#include <algorithm>
#include <array>

#include "engine/core/byte_order.hpp"
#include "engine/core/limits.hpp"
#include "engine/io/input_stream.hpp"
#include "engine/picture/bmp_any_reader.hpp"
#include "engine/picture/bmp_format.hpp"
#include "engine/picture/png_reader.hpp"

namespace vellicor {

namespace {

// Enough for the PNG signature and the BMP fields that tell the depth.
constexpr std::size_t kSniffBytes = 30;
constexpr std::size_t kInfoSizeAt = 14;
constexpr std::size_t kBitCountAt = 28;

}  // namespace

PictureFormat sniff_picture_format(FileSystem& fs, FileHandle file) {
  std::array<std::uint8_t, kSniffBytes> bytes{};
  std::size_t total = 0;
  if (!read_fully(fs, file, bytes.data(), bytes.size(), &total)) return PictureFormat::kUnknown;
  if (total >= kPngSignature.size() &&
      std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin())) {
    return PictureFormat::kPng;
  }
  if (total < 2 || load_u16_le(bytes.data()) != kBmpSignature) return PictureFormat::kUnknown;
  const std::uint32_t info_size = load_u32_le(bytes.data() + kInfoSizeAt);
  const unsigned bit_count = load_u16_le(bytes.data() + kBitCountAt);
  const bool windows_header = total == kSniffBytes && info_size >= kBmpInfoHeaderSize;
  return windows_header && bit_count == 1 ? PictureFormat::kOneBitBmp : PictureFormat::kOtherBmp;
}

ResultCode read_picture_ink(FileSystem& fs, FileHandle file, PictureFormat format, InkRule rule,
                            InkMap& map, ErrorDetail* detail) {
  switch (format) {
    case PictureFormat::kPng:
      return read_png_ink(fs, file, rule, map, detail);
    case PictureFormat::kOneBitBmp:
    case PictureFormat::kOtherBmp:
      return read_bmp_any_ink(fs, file, rule, map, detail);
    case PictureFormat::kUnknown:
      break;
  }
  return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
}

ResultCode read_picture_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                            ErrorDetail* detail) {
  InputFile file(fs, fs.open_for_reading(path));
  if (!file.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  const PictureFormat format = sniff_picture_format(fs, file.handle());
  return read_picture_ink(fs, file.handle(), format, rule, map, detail);
}

}  // namespace vellicor
