// read_ink_bits: the picture stage's ink map, pixel by pixel, in a layout of its own.
#include <cstddef>
#include <new>
#include <utility>

#include "engine/io/file_system.hpp"
#include "engine/picture/ink_map.hpp"
#include "engine/picture/picture_source.hpp"
#include "vellicor/internal/picture_ink.hpp"

namespace vellicor {

ResultCode read_ink_bits(const char* path, std::uint32_t ink_rule, InkBits& out,
                         ErrorDetail* detail) {
  constexpr std::uint32_t kBitsPerByte = 8;
  constexpr std::uint8_t kLeftmostBit = 0x80;
  if (path == nullptr) return ResultCode::kBadArgument;
  InkMap picture;
  const ResultCode result =
      read_picture(system_file_system(), path, PictureReaders::kAny, ink_rule, picture, detail);
  if (failed(result)) return result;

  InkBits ink;
  ink.width_px = picture.width_px;
  ink.height_px = picture.height_px;
  ink.stride_bytes = ink.width_px / kBitsPerByte + (ink.width_px % kBitsPerByte != 0 ? 1 : 0);
  const std::size_t most_bytes = ink.bits.max_size();
  if (ink.height_px != 0 && ink.stride_bytes > most_bytes / ink.height_px) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  try {
    ink.bits.assign(std::size_t{ink.stride_bytes} * ink.height_px, 0);
  } catch (const std::bad_alloc&) {
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  for (std::uint32_t y = 0; y < ink.height_px; ++y) {
    std::uint8_t* row = ink.bits.data() + std::size_t{y} * ink.stride_bytes;
    for (std::uint32_t x = 0; x < ink.width_px; ++x) {
      if (picture.is_ink(x, y)) {
        row[x / kBitsPerByte] |= static_cast<std::uint8_t>(kLeftmostBit >> (x % kBitsPerByte));
      }
    }
  }
  out = std::move(ink);
  return ResultCode::kOk;
}

}  // namespace vellicor
