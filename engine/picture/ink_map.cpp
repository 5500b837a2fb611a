// Sizing and allocating the one-bit ink map of a picture.
#include "engine/picture/ink_map.hpp"

#include <new>

#include "engine/core/limits.hpp"

namespace vellicor {

namespace {

constexpr std::uint64_t kBitsPerWord = 32;
constexpr std::uint64_t kBytesPerWord = 4;

}  // namespace

std::uint64_t decode_budget_bytes(std::uint64_t file_bytes) {
  if (file_bytes > kMaxDecodeBudgetBytes / kDecodeBytesPerFileByte) return kMaxDecodeBudgetBytes;
  const std::uint64_t scaled = file_bytes * kDecodeBytesPerFileByte;
  return scaled > kMinDecodeBudgetBytes ? scaled : kMinDecodeBudgetBytes;
}

std::uint32_t ink_map_stride(std::uint32_t width_px) {
  return static_cast<std::uint32_t>((std::uint64_t{width_px} + kBitsPerWord - 1) / kBitsPerWord *
                                    kBytesPerWord);
}

ResultCode check_picture_size(std::uint32_t width_px, std::uint32_t height_px,
                              std::uint64_t row_bytes, std::uint64_t file_bytes,
                              ErrorDetail* detail) {
  if (width_px == 0 || height_px == 0) {
    return fail(detail, ErrorDetail::kUnusableContent, ResultCode::kUnusableInput);
  }
  const auto too_large = [detail] {
    return fail(detail, ErrorDetail::kPictureTooLarge, ResultCode::kUnusableInput);
  };
  if (width_px > kMaxPictureSidePx || height_px > kMaxPictureSidePx) return too_large();
  const std::uint64_t budget = decode_budget_bytes(file_bytes);
  const std::uint32_t stride = ink_map_stride(width_px);
  // Both factors are below 2^24, so the product cannot wrap.
  const std::uint64_t map_bytes = std::uint64_t{stride} * height_px;
  if (row_bytes > budget || map_bytes > budget - row_bytes) return too_large();
  return ResultCode::kOk;
}

ResultCode allocate_ink_map(std::uint32_t width_px, std::uint32_t height_px,
                            std::uint64_t row_bytes, std::uint64_t file_bytes, InkMap& map,
                            ErrorDetail* detail) {
  if (const ResultCode checked =
          check_picture_size(width_px, height_px, row_bytes, file_bytes, detail);
      failed(checked)) {
    return checked;
  }
  const std::uint32_t stride = ink_map_stride(width_px);
  const std::uint64_t map_bytes = std::uint64_t{stride} * height_px;
  InkMap made;
  made.width_px = width_px;
  made.height_px = height_px;
  made.stride_bytes = stride;
  made.pixels.bytes.reset(new (std::nothrow) std::uint8_t[map_bytes]());
  if (!made.pixels.bytes) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  made.pixels.delivered_bytes = static_cast<std::uint32_t>(map_bytes);
  map = std::move(made);
  return ResultCode::kOk;
}

BmpInfoHeader ink_map_header(const InkMap& map) {
  BmpInfoHeader info;
  info.biSize = kBmpInfoHeaderSize;
  info.biWidth = static_cast<std::int32_t>(map.width_px);
  info.biHeight = -static_cast<std::int32_t>(map.height_px);
  info.biPlanes = 1;
  info.biBitCount = 1;
  info.biSizeImage = map.stride_bytes * map.height_px;
  return info;
}

}  // namespace vellicor
