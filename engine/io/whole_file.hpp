// Reading a whole file into memory, for decoders that take the file as one
// block of bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/io/file_system.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

struct WholeFile {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t size = 0;
};

// Reads the open file from where it stands to its end into out: a file of
// known size in one block, one of unknown size (a pipe) into a buffer that
// starts at first_read_bytes and doubles, so memory follows what arrives.
// Failures: kUnusableInput with detail too_large past max_bytes (max_bytes
// must fit a size_t), kFileAccess when a read fails, kOutOfMemory.
ResultCode read_whole_file(FileSystem& fs, FileHandle file, std::uint64_t max_bytes,
                           std::size_t first_read_bytes, ErrorDetail too_large, WholeFile& out,
                           ErrorDetail* detail);

}  // namespace vellicor
