// Sizing and allocating the one-bit ink map of a picture.
#include "engine/picture/ink_map.hpp"

#include <algorithm>
#include <limits>
#include <new>

#include "engine/core/limits.hpp"
#include "engine/core/row_stride.hpp"

namespace vellicor {

std::uint64_t decode_budget_bytes(std::uint64_t file_bytes) {
  if (file_bytes > kMaxDecodeBudgetBytes / kDecodeBytesPerFileByte) return kMaxDecodeBudgetBytes;
  const std::uint64_t scaled = file_bytes * kDecodeBytesPerFileByte;
  return scaled > kMinDecodeBudgetBytes ? scaled : kMinDecodeBudgetBytes;
}

std::uint32_t ink_map_stride(std::uint32_t width_px) {
  // One bit per pixel of a 32-bit width always fits.
  std::uint64_t stride = 0;
  static_cast<void>(padded_row_bytes(width_px, 1, stride));
  return static_cast<std::uint32_t>(stride);
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

ResultCode allocate_held_ink_map(std::uint32_t width_px, std::uint32_t height_px,
                                 RowRange held_rows, std::uint32_t held_columns, InkMap& map,
                                 ErrorDetail* detail) {
  InkMap made;
  made.width_px = width_px;
  made.height_px = height_px;
  made.held_rows = held_rows.empty() ? RowRange{} : held_rows;
  made.held_columns = made.held_rows.empty() ? 0 : held_columns;
  made.stride_bytes = ink_map_stride(made.held_columns);
  const std::uint64_t map_bytes =
      std::uint64_t{made.stride_bytes} * (made.held_rows.end - made.held_rows.begin);
  if (map_bytes > std::numeric_limits<std::uint32_t>::max() ||
      map_bytes > std::numeric_limits<std::size_t>::max()) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  if (map_bytes > 0) {
    made.pixels.bytes.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(map_bytes)]());
    if (!made.pixels.bytes) {
      return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    }
  }
  made.pixels.delivered_bytes = static_cast<std::uint32_t>(map_bytes);
  made.file_pixel_bytes = map_bytes;
  map = std::move(made);
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
  return allocate_held_ink_map(width_px, height_px, RowRange{0, height_px}, width_px, map, detail);
}

std::uint64_t InkMap::gathered_ink_bytes(std::uint32_t y, std::int64_t byte_index) const {
  constexpr unsigned kBitsPerByte = 8;
  std::uint64_t bits = 0;
  const bool row_held = y >= held_rows.begin && y < held_rows.end;
  for (std::int64_t index = byte_index; index < byte_index + kBytesPerWord; ++index) {
    const bool in_row = row_held && index >= 0 && index < std::int64_t{stride_bytes};
    const std::uint8_t ink = in_row ? pixels.bytes[static_cast<std::size_t>(
                                          row_offset(y) + static_cast<std::uint64_t>(index))]
                                    : 0;
    bits = (bits << kBitsPerByte) | ink;
  }
  return bits;
}

std::uint64_t InkMap::column_word_mask(std::uint32_t word_index) const {
  constexpr std::uint64_t kColumnsPerWord = std::uint64_t{kBytesPerWord} * 8;
  const std::uint64_t first_column = std::uint64_t{word_index} * kColumnsPerWord;
  if (first_column >= width_px) return 0;
  const std::uint64_t columns = std::min<std::uint64_t>(kColumnsPerWord, width_px - first_column);
  // Shifting a 64-bit value by 64 is undefined, so a full word is its own case.
  return columns == kColumnsPerWord ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> columns);
}

bool InkMap::has_ink() const {
  // Padding bits are paper, so whole rows can be scanned as bytes.
  for (std::size_t i = 0; i < pixels.delivered_bytes; ++i) {
    if (pixels.bytes[i] != 0) return true;
  }
  return false;
}

bool InkMap::all_ink() const {
  // Pixels outside the held rows and columns are paper.
  if (held_rows.begin != 0 || held_rows.end != height_px || held_columns < width_px) return false;
  const std::uint32_t words = (width_px + kBytesPerWord * 8 - 1) / (kBytesPerWord * 8);
  for (std::uint32_t y = 0; y < height_px; ++y) {
    for (std::uint32_t word = 0; word < words; ++word) {
      const std::uint64_t inside = column_word_mask(word);
      if ((ink_word(y, word) & inside) != inside) return false;
    }
  }
  return true;
}

}  // namespace vellicor
