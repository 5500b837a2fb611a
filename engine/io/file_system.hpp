// The engine's only access to files: the operating-system calls it relies on,
// behind one small interface, and the input file that closes itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// An open file as the operating system numbers it.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kInvalidHandle = -1;
// An owner or group id that set_owner leaves as it is.
inline constexpr std::uint32_t kUnchangedId = 0xFFFFFFFF;

// What the file system says about a path.
struct PathInfo {
  enum class Kind { kMissing, kRegular, kOther };  // kOther: device, pipe, directory, ...
  Kind kind = Kind::kMissing;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint32_t permissions = 0;  // permission bits of a regular file
  std::uint32_t owner = 0;        // user and group ids (POSIX; 0 where files have none)
  std::uint32_t group = 0;
};

// The operating-system calls behind every file access of the engine. The real
// implementation is system_file_system(); tests substitute one that fails a
// chosen call. No call is retried by the engine.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens an existing file for reading, positioned at 0; kInvalidHandle on failure.
  virtual FileHandle open_for_reading(const char* path) = 0;
  // Reads up to count bytes into buffer. False on failure; at the end of the
  // file it succeeds with fewer bytes, possibly none.
  virtual bool read(FileHandle file, void* buffer, std::size_t count, std::size_t* bytes_read) = 0;
  // Moves the position to offset bytes from the start; false on failure.
  virtual bool seek(FileHandle file, std::uint64_t offset) = 0;
  // Size of an open regular file; false when the file has no size (pipe, device).
  virtual bool size(FileHandle file, std::uint64_t* bytes) = 0;

  // Creates path as a new, empty file for writing with the given permission
  // bits; fails when path exists. kInvalidHandle on failure.
  virtual FileHandle create_new(const char* path, std::uint32_t permissions) = 0;
  // Opens an existing file for writing without truncating or replacing it (used
  // for devices and pipes). kInvalidHandle on failure.
  virtual FileHandle open_for_writing(const char* path) = 0;
  // Writes count bytes in one call; bytes_written tells how many went out.
  virtual bool write(FileHandle file, const void* bytes, std::size_t count,
                     std::size_t* bytes_written) = 0;
  // Closes the handle; false when the system reports that data was lost.
  virtual bool close(FileHandle file) = 0;

  // Moves from over to, replacing to atomically; false on failure.
  virtual bool rename(const char* from, const char* to) = 0;
  // Removes a file; failures are not reported.
  virtual void remove(const char* path) = 0;
  // Follows symbolic links; kind kMissing when nothing is there.
  virtual PathInfo inspect(const char* path) = 0;
  // Resolves every symbolic link of path into resolved (kPathBufferSize bytes).
  // When the final component does not exist, its directory is resolved and the
  // name kept. False when the result does not fit or a component is missing.
  virtual bool resolve_links(const char* path, char* resolved, std::size_t resolved_size) = 0;
  // Sets the permission bits of an open file exactly (no umask applies), so a
  // replaced file keeps its bits. The default, for file layers without such
  // bits, does nothing and succeeds.
  virtual bool set_permissions(FileHandle file, std::uint32_t permissions) {
    static_cast<void>(file);
    static_cast<void>(permissions);
    return true;
  }

  // Forces the data written to an open file onto the disk (fsync,
  // FlushFileBuffers); false when the system reports that it could not. The
  // default, for file layers without a disk, succeeds.
  virtual bool sync(FileHandle file) {
    static_cast<void>(file);
    return true;
  }
  // Forces the directory's entries (a rename into it) onto the disk. directory
  // names the directory, with or without a trailing separator. Succeeds where
  // the system has no such step or cannot open the directory for it; false
  // only when the system reports a failed sync. The default succeeds.
  virtual bool sync_directory(const char* directory) {
    static_cast<void>(directory);
    return true;
  }
  // Creates a file without a name in directory (Linux O_TMPFILE): it vanishes
  // when closed unless link_unnamed named it first, so an interrupted writer
  // leaves nothing. The umask applies to permissions. kInvalidHandle where the
  // system or the file system has no such files; the caller then uses a named
  // file. The default has none.
  virtual FileHandle create_unnamed(const char* directory, std::uint32_t permissions) {
    static_cast<void>(directory);
    static_cast<void>(permissions);
    return kInvalidHandle;
  }
  // Gives a file made by create_unnamed the name path, which must not exist
  // yet; false on failure.
  virtual bool link_unnamed(FileHandle file, const char* path) {
    static_cast<void>(file);
    static_cast<void>(path);
    return false;
  }
  // Marks an open file made by create_new to be deleted when its handle
  // closes (discard true), or to be kept again (false): Windows marks the
  // temporary this way until commit. False where the system has no such mark;
  // the default has none.
  virtual bool set_discard_on_close(FileHandle file, bool discard) {
    static_cast<void>(file);
    static_cast<void>(discard);
    return false;
  }
  // Gives an open file the owner and group ids (fchown; kUnchangedId keeps
  // one), so a replaced file keeps them. False when the process may not set
  // them; the caller goes on without.
  // The default, for file layers without owners, does nothing and succeeds.
  virtual bool set_owner(FileHandle file, std::uint32_t owner, std::uint32_t group) {
    static_cast<void>(file);
    static_cast<void>(owner);
    static_cast<void>(group);
    return true;
  }
  // True when the process may not make new files in directory (permission
  // refused), which is when the engine writes an existing target in place
  // rather than fail; a full disk or any other failure is not such a refusal.
  // The default never refuses.
  virtual bool refuses_new_files(const char* directory) {
    static_cast<void>(directory);
    return false;
  }
  // Cuts an open file to size bytes, for writing a file in place; false on
  // failure. The default cannot.
  virtual bool truncate(FileHandle file, std::uint64_t size) {
    static_cast<void>(file);
    static_cast<void>(size);
    return false;
  }
};

// The operating system's file calls (POSIX, or Win32 under _WIN32). Stateless.
FileSystem& system_file_system();

// Opened file for reading, closed on every path by its destructor.
class InputFile {
 public:
  InputFile(FileSystem& fs, FileHandle handle) : fs_(&fs), handle_(handle) {}
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() {
    if (handle_ != kInvalidHandle)
      static_cast<void>(fs_->close(handle_));  // a reader loses nothing
  }
  FileHandle handle() const { return handle_; }
  bool is_open() const { return handle_ != kInvalidHandle; }

 private:
  FileSystem* fs_;
  FileHandle handle_;
};

}  // namespace vellicor
