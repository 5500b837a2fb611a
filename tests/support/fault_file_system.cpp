// Fault injection for the file layer.
#include "tests/support/fault_file_system.hpp"

namespace vellicor::test {

namespace {
std::size_t index_of(FileCall call) { return static_cast<std::size_t>(call); }
}  // namespace

FaultFileSystem::FaultFileSystem(FileSystem& real) : real_(real) {}

void FaultFileSystem::fail_call(FileCall call, int nth) { fail_at_[index_of(call)] = nth; }

int FaultFileSystem::calls(FileCall call) const { return counts_[index_of(call)]; }

int FaultFileSystem::open_handles() const { return static_cast<int>(open_.size()); }

bool FaultFileSystem::should_fail(FileCall call) {
  log_.push_back(call);
  const int count = ++counts_[index_of(call)];
  return fail_at_[index_of(call)] == count;
}

FileHandle FaultFileSystem::track(FileHandle handle) {
  if (handle != kInvalidHandle) open_.insert(handle);
  return handle;
}

FileHandle FaultFileSystem::open_for_reading(const char* path) {
  if (should_fail(FileCall::kOpenForReading)) return kInvalidHandle;
  return track(real_.open_for_reading(path));
}

bool FaultFileSystem::read(FileHandle file, void* buffer, std::size_t count,
                           std::size_t* bytes_read) {
  if (should_fail(FileCall::kRead)) return false;
  return real_.read(file, buffer, count, bytes_read);
}

bool FaultFileSystem::seek(FileHandle file, std::uint64_t offset) {
  if (should_fail(FileCall::kSeek)) return false;
  return real_.seek(file, offset);
}

bool FaultFileSystem::size(FileHandle file, std::uint64_t* bytes) {
  if (should_fail(FileCall::kSize)) return false;
  return real_.size(file, bytes);
}

FileHandle FaultFileSystem::create_new(const char* path, std::uint32_t permissions) {
  if (should_fail(FileCall::kCreateNew)) return kInvalidHandle;
  return track(real_.create_new(path, permissions));
}

FileHandle FaultFileSystem::open_for_writing(const char* path) {
  if (should_fail(FileCall::kOpenForWriting)) return kInvalidHandle;
  return track(real_.open_for_writing(path));
}

bool FaultFileSystem::write(FileHandle file, const void* bytes, std::size_t count,
                            std::size_t* bytes_written) {
  write_sizes_.push_back(count);
  if (should_fail(FileCall::kWrite)) {
    // A full disk takes what fits and reports the rest as not written.
    return real_.write(file, bytes, count / 2, bytes_written);
  }
  return real_.write(file, bytes, count, bytes_written);
}

bool FaultFileSystem::close(FileHandle file) {
  open_.erase(file);
  const bool closed = real_.close(file);
  if (should_fail(FileCall::kClose)) return false;
  return closed;
}

bool FaultFileSystem::rename(const char* from, const char* to) {
  if (should_fail(FileCall::kRename)) return false;
  return real_.rename(from, to);
}

void FaultFileSystem::remove(const char* path) {
  if (should_fail(FileCall::kRemove)) return;
  real_.remove(path);
}

PathInfo FaultFileSystem::inspect(const char* path) {
  if (should_fail(FileCall::kInspect)) return PathInfo{};
  return real_.inspect(path);
}

bool FaultFileSystem::resolve_links(const char* path, char* resolved, std::size_t resolved_size) {
  if (should_fail(FileCall::kResolveLinks)) return false;
  return real_.resolve_links(path, resolved, resolved_size);
}

bool FaultFileSystem::set_permissions(FileHandle file, std::uint32_t permissions) {
  if (should_fail(FileCall::kSetPermissions)) return false;
  return real_.set_permissions(file, permissions);
}

bool FaultFileSystem::sync(FileHandle file) {
  if (should_fail(FileCall::kSync)) return false;
  return real_.sync(file);
}

bool FaultFileSystem::sync_directory(const char* directory) {
  if (should_fail(FileCall::kSyncDirectory)) return false;
  return real_.sync_directory(directory);
}

FileHandle FaultFileSystem::create_unnamed(const char* directory, std::uint32_t permissions) {
  if (should_fail(FileCall::kCreateUnnamed)) return kInvalidHandle;
  return track(real_.create_unnamed(directory, permissions));
}

bool FaultFileSystem::link_unnamed(FileHandle file, const char* path) {
  if (should_fail(FileCall::kLinkUnnamed)) return false;
  return real_.link_unnamed(file, path);
}

bool FaultFileSystem::set_discard_on_close(FileHandle file, bool discard) {
  if (should_fail(FileCall::kSetDiscardOnClose)) return false;
  return real_.set_discard_on_close(file, discard);
}

bool FaultFileSystem::set_owner(FileHandle file, std::uint32_t owner, std::uint32_t group) {
  if (should_fail(FileCall::kSetOwner)) return false;
  return real_.set_owner(file, owner, group);
}

// Failing, the directory refuses new files.
bool FaultFileSystem::refuses_new_files(const char* directory) {
  if (should_fail(FileCall::kRefusesNewFiles)) return true;
  return real_.refuses_new_files(directory);
}

bool FaultFileSystem::truncate(FileHandle file, std::uint64_t size) {
  if (should_fail(FileCall::kTruncate)) return false;
  return real_.truncate(file, size);
}

}  // namespace vellicor::test
