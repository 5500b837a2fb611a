// Reading an input file whole-request at a time, or buffered front to back.
#include "engine/io/input_stream.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace vellicor {

bool read_fully(FileSystem& fs, FileHandle file, std::uint8_t* out, std::size_t count,
                std::size_t* got) {
  std::size_t total = 0;
  while (total < count) {
    std::size_t delivered = 0;
    if (!fs.read(file, out + total, count - total, &delivered)) return false;
    if (delivered == 0) break;
    total += delivered;
  }
  *got = total;
  return true;
}

bool InputStream::allocate() {
  buffer_.reset(new (std::nothrow) std::uint8_t[kBufferBytes]);
  return buffer_ != nullptr;
}

bool InputStream::refill() {
  if (failed_ || !buffer_) return false;
  position_of_buffer_ += end_;
  next_ = 0;
  end_ = 0;
  std::size_t got = 0;
  if (!fs_->read(file_, buffer_.get(), kBufferBytes, &got)) {
    failed_ = true;
    return false;
  }
  end_ = got;
  return got != 0;
}

bool InputStream::read(std::uint8_t* out, std::size_t count, std::size_t* got) {
  std::size_t total = 0;
  while (total < count) {
    if (next_ == end_ && !refill()) break;
    const std::size_t piece = std::min(count - total, end_ - next_);
    std::memcpy(out + total, buffer_.get() + next_, piece);
    next_ += piece;
    total += piece;
  }
  *got = total;
  return !failed_;
}

bool InputStream::seek(std::uint64_t offset) {
  if (failed_) return false;
  // Within the buffered bytes (forward or back) no call is needed.
  if (offset >= position_of_buffer_ && offset - position_of_buffer_ <= end_) {
    next_ = static_cast<std::size_t>(offset - position_of_buffer_);
    return true;
  }
  if (!fs_->seek(file_, offset)) {
    failed_ = true;
    return false;
  }
  position_of_buffer_ = offset;
  next_ = 0;
  end_ = 0;
  return true;
}

}  // namespace vellicor
