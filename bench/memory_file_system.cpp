// The in-memory file layer of the micro-benchmarks.
#include "bench/memory_file_system.hpp"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vellicor::bench {

MemoryFileSystem::MemoryFileSystem(std::string input_path, std::vector<std::uint8_t> contents)
    : input_path_(std::move(input_path)), contents_(std::move(contents)) {}

FileHandle MemoryFileSystem::open_for_reading(const char* path) {
  if (input_path_ != path) return kInvalidHandle;
  position_ = 0;
  return kInputHandle;
}

bool MemoryFileSystem::read(FileHandle file, void* buffer, std::size_t count,
                            std::size_t* bytes_read) {
  if (file != kInputHandle) return false;
  const std::uint64_t left =
      contents_.size() - std::min<std::uint64_t>(position_, contents_.size());
  const auto taken = static_cast<std::size_t>(std::min<std::uint64_t>(count, left));
  if (taken > 0) std::memcpy(buffer, contents_.data() + position_, taken);
  position_ += taken;
  *bytes_read = taken;
  return true;
}

bool MemoryFileSystem::seek(FileHandle file, std::uint64_t offset) {
  if (file != kInputHandle) return false;
  position_ = offset;
  return true;
}

bool MemoryFileSystem::size(FileHandle file, std::uint64_t* bytes) {
  if (file != kInputHandle) return false;
  *bytes = contents_.size();
  return true;
}

FileHandle MemoryFileSystem::create_new(const char*, std::uint32_t) { return kOutputHandle; }

FileHandle MemoryFileSystem::open_for_writing(const char*) { return kOutputHandle; }

bool MemoryFileSystem::write(FileHandle file, const void*, std::size_t count,
                             std::size_t* bytes_written) {
  if (file != kOutputHandle) return false;
  bytes_written_ += count;
  ++write_calls_;
  *bytes_written = count;
  return true;
}

bool MemoryFileSystem::close(FileHandle) { return true; }

bool MemoryFileSystem::rename(const char*, const char*) { return true; }

void MemoryFileSystem::remove(const char*) {}

PathInfo MemoryFileSystem::inspect(const char* path) {
  PathInfo info;
  if (input_path_ == path) {
    info.kind = PathInfo::Kind::kRegular;
    info.inode = 1;
  }
  return info;
}

bool MemoryFileSystem::resolve_links(const char* path, char* resolved, std::size_t resolved_size) {
  const std::size_t length = std::strlen(path);
  if (length >= resolved_size) return false;
  std::memcpy(resolved, path, length + 1);
  return true;
}

}  // namespace vellicor::bench
