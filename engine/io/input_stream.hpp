// Reading an input file: read_fully for a known number of bytes, and a
// buffered stream for readers that take a few bytes at a time (chunk
// headers, RLE codes, rows of pixels).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/io/file_system.hpp"

namespace vellicor {

// Reads from the file's position until count bytes have arrived or the file
// ends; a single read call may deliver less than asked (a pipe, a very large
// count). got says how many came, written only on success. False only when a
// read call fails.
bool read_fully(FileSystem& fs, FileHandle file, std::uint8_t* out, std::size_t count,
                std::size_t* got);

class InputStream {
 public:
  static constexpr std::size_t kBufferBytes = std::size_t{64} * 1024;

  // Reads through fs from the open file, starting at its current position 0.
  InputStream(FileSystem& fs, FileHandle file) : fs_(&fs), file_(file) {}

  // False when the buffer cannot be had.
  bool allocate();

  // Copies up to count bytes to out; got says how many came (fewer only at
  // the end of the file). False when a read call fails.
  bool read(std::uint8_t* out, std::size_t count, std::size_t* got);
  // The next byte, or -1 at the end of the file or after a failed read.
  int next_byte() {
    if (next_ < end_) return buffer_[next_++];
    return refill() ? buffer_[next_++] : -1;
  }
  // Moves to offset bytes from the start; false when the file refuses.
  bool seek(std::uint64_t offset);
  // Bytes consumed from the start of the file.
  std::uint64_t position() const { return position_of_buffer_ + next_; }
  // True once a read or seek call has failed (not at a mere end of file).
  bool failed() const { return failed_; }

 private:
  bool refill();

  FileSystem* fs_;
  FileHandle file_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t next_ = 0;
  std::size_t end_ = 0;
  std::uint64_t position_of_buffer_ = 0;  // file offset of buffer_[0]
  bool failed_ = false;
};

}  // namespace vellicor
