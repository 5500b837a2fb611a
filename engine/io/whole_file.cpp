// Reading a whole file into memory through the engine's file layer.
#include "engine/io/whole_file.hpp"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "engine/core/checked_size.hpp"
#include "engine/io/input_stream.hpp"

namespace vellicor {

ResultCode read_whole_file(FileSystem& fs, FileHandle file, std::uint64_t max_bytes,
                           std::size_t first_read_bytes, ErrorDetail too_large, WholeFile& out,
                           ErrorDetail* detail) {
  std::uint64_t known_size = 0;
  const bool sized = fs.size(file, &known_size);
  if (sized && known_size > max_bytes) {
    return fail(detail, too_large, ResultCode::kUnusableInput);
  }
  // One byte more than a known size, so that the read which finds the end
  // needs no larger buffer.
  std::size_t capacity = sized ? static_cast<std::size_t>(known_size) + 1 : first_read_bytes;
  std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[capacity]);
  if (!buffer) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  std::size_t used = 0;
  for (;;) {
    std::size_t got = 0;
    if (!read_fully(fs, file, buffer.get() + used, capacity - used, &got)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
    used += got;
    if (used < capacity) break;
    // The file is longer than it said, or its size is unknown (a pipe).
    if (capacity > max_bytes) {
      return fail(detail, too_large, ResultCode::kUnusableInput);
    }
    const auto larger = static_cast<std::size_t>(
        std::min<std::uint64_t>(saturating_multiply(capacity, 2), max_bytes + 1));
    std::unique_ptr<std::uint8_t[]> grown(new (std::nothrow) std::uint8_t[larger]);
    if (!grown) return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
    std::memcpy(grown.get(), buffer.get(), used);
    buffer = std::move(grown);
    capacity = larger;
  }
  out.bytes = std::move(buffer);
  out.size = used;
  return ResultCode::kOk;
}

}  // namespace vellicor
