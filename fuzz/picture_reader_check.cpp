// Properties of the picture readers on arbitrary input.
#include "fuzz/picture_reader_check.hpp"

#include <algorithm>
#include <vector>

#include "fuzz/fuzz_check.hpp"
#include "fuzz/memory_file_system.hpp"

namespace vellicor::fuzz {

namespace {

constexpr char kInputPath[] = "/in/picture";
constexpr auto kDetailNotStored = static_cast<ErrorDetail>(12345);
constexpr std::uint32_t kRuleCount = 4;
constexpr std::uint32_t kBitsPerByte = 8;

// Rows of the map are whole 32-bit words.
std::uint32_t padded_row_bytes(std::uint32_t width_px) {
  return static_cast<std::uint32_t>((std::uint64_t{width_px} + 31) / 32 * 4);
}

// The README's reading limit: 8 MiB, or 128 bytes per byte of the file when
// that is more, never more than 512 MiB.
std::uint64_t documented_read_limit(std::uint64_t file_bytes) {
  constexpr std::uint64_t kMiB = std::uint64_t{1024} * 1024;
  return std::min(512 * kMiB, std::max(8 * kMiB, 128 * file_bytes));
}

// Bits of the last byte of a row that lie past the width must be 0, and so
// must the row's padding bytes.
bool padding_is_paper(const InkMap& map) {
  const std::uint32_t used_bytes = (map.width_px + kBitsPerByte - 1) / kBitsPerByte;
  const std::uint32_t spare_bits = used_bytes * kBitsPerByte - map.width_px;
  const auto last_mask = static_cast<std::uint8_t>((1u << spare_bits) - 1);
  for (std::uint32_t y = 0; y < map.height_px; ++y) {
    const std::uint8_t* row = map.pixels.bytes.get() + std::uint64_t{y} * map.stride_bytes;
    if ((row[used_bytes - 1] & last_mask) != 0) return false;
    for (std::uint32_t byte = used_bytes; byte < map.stride_bytes; ++byte) {
      if (row[byte] != 0) return false;
    }
  }
  return true;
}

}  // namespace

void check_picture_reader(PictureReader reader, const std::uint8_t* data, std::size_t size,
                          const std::set<ErrorDetail>& allowed_details) {
  MemoryFileSystem fs;
  fs.add_file(kInputPath, std::vector<std::uint8_t>(data, data + size));
  const auto rule = static_cast<InkRule>(size % kRuleCount);
  InkMap map;
  ErrorDetail detail = kDetailNotStored;
  const ResultCode result = reader(fs, kInputPath, rule, map, &detail);

  require(fs.open_handles() == 0, "every file is closed");
  if (succeeded(result)) {
    require(detail == kDetailNotStored, "success leaves the detail untouched");
    require(map.width_px > 0 && map.height_px > 0 && map.pixels.bytes != nullptr,
            "a read picture has pixels");
    require(map.stride_bytes == padded_row_bytes(map.width_px), "rows are padded to four bytes");
    const std::uint64_t map_bytes = std::uint64_t{map.stride_bytes} * map.height_px;
    require(map.pixels.delivered_bytes == map_bytes, "the whole map is delivered");
    require(map_bytes <= documented_read_limit(size), "the map is within the size limit");
    require(padding_is_paper(map), "bits past the width are paper");
  } else {
    require(allowed_details.count(detail) == 1, "the failure is one the reader can report");
    require(map.pixels.bytes == nullptr, "a failed read leaves no map");
  }
}

}  // namespace vellicor::fuzz
