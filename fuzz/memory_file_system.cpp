// The in-memory file layer of the fuzz targets and the benchmarks.
#include "fuzz/memory_file_system.hpp"

#include <algorithm>
#include <cstring>

namespace vellicor::fuzz {

namespace {

constexpr std::uint64_t kDirectoryDevice = 1;
constexpr std::uint64_t kFileDevice = 2;

std::string parent_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return slash == 0 ? std::string("/") : path.substr(0, slash);
}

}  // namespace

void MemoryFileSystem::add_directory(const std::string& path) {
  std::string place = path;
  while (!place.empty() && directories_.insert(place).second && place != "/") {
    place = parent_of(place);
  }
}

void MemoryFileSystem::add_file(const std::string& path, std::vector<std::uint8_t> bytes) {
  add_directory(parent_of(path));
  File& file = files_[path];
  file.bytes = std::move(bytes);
  file.written.reset();
  file.inode = next_inode_++;
}

void MemoryFileSystem::forget_written() {
  for (auto it = files_.begin(); it != files_.end();) {
    it = it->second.written != nullptr ? files_.erase(it) : std::next(it);
  }
  handles_.clear();
}

std::vector<std::string> MemoryFileSystem::paths() const {
  std::vector<std::string> names;
  for (const auto& [path, file] : files_) names.push_back(path);
  return names;
}

BdfStreamCheck* MemoryFileSystem::written(const std::string& path) {
  const auto it = files_.find(path);
  return it == files_.end() ? nullptr : it->second.written.get();
}

FileHandle MemoryFileSystem::open_for_reading(const char* path) {
  const auto it = files_.find(path);
  if (it == files_.end() || it->second.written != nullptr) return kInvalidHandle;
  const FileHandle handle = next_handle_++;
  handles_[handle] = Handle{path, 0, false};
  return handle;
}

bool MemoryFileSystem::read(FileHandle file, void* buffer, std::size_t count,
                            std::size_t* bytes_read) {
  const auto it = handles_.find(file);
  if (it == handles_.end() || it->second.writing) return false;
  const std::vector<std::uint8_t>& bytes = files_.at(it->second.path).bytes;
  const std::uint64_t position = std::min<std::uint64_t>(it->second.position, bytes.size());
  const std::size_t available = bytes.size() - static_cast<std::size_t>(position);
  const std::size_t taken = std::min(count, available);
  if (taken > 0) std::memcpy(buffer, bytes.data() + position, taken);
  it->second.position = position + taken;
  *bytes_read = taken;
  return true;
}

bool MemoryFileSystem::seek(FileHandle file, std::uint64_t offset) {
  const auto it = handles_.find(file);
  if (it == handles_.end()) return false;
  it->second.position = offset;
  return true;
}

bool MemoryFileSystem::size(FileHandle file, std::uint64_t* bytes) {
  const auto it = handles_.find(file);
  if (it == handles_.end() || it->second.writing) return false;
  *bytes = files_.at(it->second.path).bytes.size();
  return true;
}

FileHandle MemoryFileSystem::create_new(const char* path, std::uint32_t permissions) {
  static_cast<void>(permissions);
  const std::string name = path;
  if (files_.count(name) != 0 || directories_.count(name) != 0) return kInvalidHandle;
  if (name.empty() || name.back() == '/' || directories_.count(parent_of(name)) == 0) {
    return kInvalidHandle;
  }
  File& file = files_[name];
  file.written = std::make_shared<BdfStreamCheck>(sheet_fonts_);
  file.inode = next_inode_++;
  const FileHandle handle = next_handle_++;
  handles_[handle] = Handle{name, 0, true};
  return handle;
}

FileHandle MemoryFileSystem::open_for_writing(const char* path) {
  // Only the engine's probe of an existing file comes here; nothing is
  // written through it, so any existing file will do.
  if (files_.count(path) == 0) return kInvalidHandle;
  const FileHandle handle = next_handle_++;
  handles_[handle] = Handle{path, 0, true};
  return handle;
}

bool MemoryFileSystem::write(FileHandle file, const void* bytes, std::size_t count,
                             std::size_t* bytes_written) {
  const auto it = handles_.find(file);
  if (it == handles_.end() || !it->second.writing) return false;
  File& target = files_.at(it->second.path);
  if (target.written == nullptr) return false;
  if (written_mode_ == Written::kChecked) {
    target.written->feed(static_cast<const std::uint8_t*>(bytes), count);
  }
  bytes_written_ += count;
  ++write_calls_;
  *bytes_written = count;
  return true;
}

bool MemoryFileSystem::close(FileHandle file) { return handles_.erase(file) == 1; }

bool MemoryFileSystem::rename(const char* from, const char* to) {
  const auto it = files_.find(from);
  if (it == files_.end() || directories_.count(to) != 0) return false;
  if (directories_.count(parent_of(to)) == 0) return false;
  File moved = std::move(it->second);
  files_.erase(it);
  files_[to] = std::move(moved);
  return true;
}

void MemoryFileSystem::remove(const char* path) { files_.erase(path); }

PathInfo MemoryFileSystem::inspect(const char* path) {
  PathInfo info;
  const std::string name = path;
  if (directories_.count(name) != 0 || (!name.empty() && name.back() == '/')) {
    // A name ending in '/' is a directory or nothing; either way no file.
    if (directories_.count(name) != 0 || directories_.count(name.substr(0, name.size() - 1))) {
      info.kind = PathInfo::Kind::kOther;
      info.device = kDirectoryDevice;
    }
    return info;
  }
  const auto it = files_.find(name);
  if (it == files_.end()) return info;
  info.kind = PathInfo::Kind::kRegular;
  info.device = kFileDevice;
  info.inode = it->second.inode;
  info.permissions = 0644;
  return info;
}

bool MemoryFileSystem::resolve_links(const char* path, char* resolved, std::size_t resolved_size) {
  const std::size_t length = std::strlen(path);
  if (length >= resolved_size) return false;
  if (directories_.count(parent_of(path)) == 0) return false;
  std::memcpy(resolved, path, length + 1);
  return true;
}

}  // namespace vellicor::fuzz
