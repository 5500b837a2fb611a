// Choosing the reader for a picture by its signature.
#include "engine/picture/picture_ink.hpp"

#include <algorithm>
#include <array>

#include "engine/core/limits.hpp"
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

PictureFormat sniff_picture_format(FileSystem& fs, const char* path) {
  InputFile file(fs, fs.open_for_reading(path));
  if (!file.is_open()) return PictureFormat::kUnknown;
  std::array<std::uint8_t, kSniffBytes> bytes{};
  std::size_t total = 0;
  while (total < bytes.size()) {
    std::size_t got = 0;
    if (!fs.read(file.handle(), bytes.data() + total, bytes.size() - total, &got)) {
      return PictureFormat::kUnknown;
    }
    if (got == 0) break;
    total += got;
  }
  if (total >= kPngSignature.size() &&
      std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin())) {
    return PictureFormat::kPng;
  }
  if (total < 2 || (bytes[0] | bytes[1] << 8) != kBmpSignature) return PictureFormat::kUnknown;
  const std::uint32_t info_size = bytes[kInfoSizeAt] | std::uint32_t{bytes[kInfoSizeAt + 1]} << 8 |
                                  std::uint32_t{bytes[kInfoSizeAt + 2]} << 16 |
                                  std::uint32_t{bytes[kInfoSizeAt + 3]} << 24;
  const unsigned bit_count = bytes[kBitCountAt] | unsigned{bytes[kBitCountAt + 1]} << 8;
  const bool windows_header = total == kSniffBytes && info_size >= kBmpInfoHeaderSize;
  return windows_header && bit_count == 1 ? PictureFormat::kOneBitBmp : PictureFormat::kOtherBmp;
}

ResultCode read_picture_ink(FileSystem& fs, const char* path, InkRule rule, InkMap& map,
                            ErrorDetail* detail) {
  switch (sniff_picture_format(fs, path)) {
    case PictureFormat::kPng:
      return read_png_ink(fs, path, rule, map, detail);
    case PictureFormat::kOneBitBmp:
    case PictureFormat::kOtherBmp:
      return read_bmp_any_ink(fs, path, rule, map, detail);
    case PictureFormat::kUnknown:
      break;
  }
  // An unreadable file is told apart from one of a foreign format.
  InputFile probe(fs, fs.open_for_reading(path));
  if (!probe.is_open()) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  return fail(detail, ErrorDetail::kNotBmp, ResultCode::kUnusableInput);
}

}  // namespace vellicor
