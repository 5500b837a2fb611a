// A file layer for tests that passes every call to a real one, counts the
// calls, and fails a chosen one the way the operating system would.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "engine/io/file_system.hpp"

namespace vellicor::test {

enum class FileCall {
  kOpenForReading,
  kRead,
  kSeek,
  kSize,
  kCreateNew,
  kOpenForWriting,
  kWrite,
  kClose,
  kRename,
  kRemove,
  kInspect,
  kResolveLinks,
  kSetPermissions,
  kSync,
  kSyncDirectory,
  kCreateUnnamed,
  kLinkUnnamed,
  kSetDiscardOnClose,
  kSetOwner,
  kRefusesNewFiles,
  kTruncate,
};
inline constexpr std::size_t kFileCallKinds = static_cast<std::size_t>(FileCall::kTruncate) + 1;

// Passes every call to a real FileSystem, counts and records calls, and fails the nth call
// (1-based) of a chosen kind as the OS would: an invalid handle, false, a short
// write (half the bytes go out), a missing path. A failed close still closes
// the real handle; a failed rename or remove leaves the files as they were.
class FaultFileSystem : public FileSystem {
 public:
  explicit FaultFileSystem(FileSystem& real = system_file_system());

  void fail_call(FileCall call, int nth);  // 0 = never
  int calls(FileCall call) const;
  // Every call so far, in the order made.
  const std::vector<FileCall>& log() const { return log_; }
  int open_handles() const;  // opened and not yet closed (reading and writing)
  // The byte count asked of every write call, in the order made.
  const std::vector<std::size_t>& write_sizes() const { return write_sizes_; }

  FileHandle open_for_reading(const char* path) override;
  bool read(FileHandle file, void* buffer, std::size_t count, std::size_t* bytes_read) override;
  bool seek(FileHandle file, std::uint64_t offset) override;
  bool size(FileHandle file, std::uint64_t* bytes) override;
  FileHandle create_new(const char* path, std::uint32_t permissions) override;
  FileHandle open_for_writing(const char* path) override;
  bool write(FileHandle file, const void* bytes, std::size_t count,
             std::size_t* bytes_written) override;
  bool close(FileHandle file) override;
  bool rename(const char* from, const char* to) override;
  void remove(const char* path) override;
  PathInfo inspect(const char* path) override;
  bool resolve_links(const char* path, char* resolved, std::size_t resolved_size) override;
  bool set_permissions(FileHandle file, std::uint32_t permissions) override;
  bool sync(FileHandle file) override;
  bool sync_directory(const char* directory) override;
  FileHandle create_unnamed(const char* directory, std::uint32_t permissions) override;
  bool link_unnamed(FileHandle file, const char* path) override;
  bool set_discard_on_close(FileHandle file, bool discard) override;
  bool set_owner(FileHandle file, std::uint32_t owner, std::uint32_t group) override;
  bool refuses_new_files(const char* directory) override;
  bool truncate(FileHandle file, std::uint64_t size) override;

 private:
  // Counts the call and tells whether this one is to fail.
  bool should_fail(FileCall call);
  FileHandle track(FileHandle handle);

  FileSystem& real_;
  std::array<int, kFileCallKinds> counts_{};
  std::array<int, kFileCallKinds> fail_at_{};
  std::set<FileHandle> open_;
  std::vector<FileCall> log_;
  std::vector<std::size_t> write_sizes_;
};

}  // namespace vellicor::test
