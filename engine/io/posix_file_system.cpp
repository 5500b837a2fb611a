// The POSIX file layer: the operating-system calls behind every file access.
#ifndef _WIN32

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

#include "engine/io/file_system.hpp"

namespace vellicor {

namespace {

// Permission bits of a mode, set-id and sticky bits included.
constexpr mode_t kPermissionMask = 07777;
// Links followed one by one before a chain is taken for a loop, as the
// kernel's own limit for path lookup.
constexpr int kMaxLinkDepth = 40;

int to_descriptor(FileHandle file) { return static_cast<int>(file); }

bool is_valid(FileHandle file) { return file >= 0 && file <= std::numeric_limits<int>::max(); }

// Copies text into out when it fits with its terminator.
bool copy_text(const char* text, std::size_t length, char* out, std::size_t out_size) {
  if (length >= out_size) return false;
  std::memcpy(out, text, length);
  out[length] = '\0';
  return true;
}

// realpath() of the directory that holds the last component of path, followed
// by that component: the answer for a path whose final file does not exist yet.
bool resolve_missing_leaf(const char* path, char* resolved, std::size_t resolved_size) {
  const std::size_t length = std::strlen(path);
  const char* slash = std::strrchr(path, '/');
  const char* leaf = slash == nullptr ? path : slash + 1;
  const std::size_t leaf_length = length - static_cast<std::size_t>(leaf - path);
  // "." and ".." name directories, never a file that could be created.
  if (leaf_length == 0 || std::strcmp(leaf, ".") == 0 || std::strcmp(leaf, "..") == 0) {
    return false;
  }

  char directory[PATH_MAX];
  if (slash == nullptr) {
    directory[0] = '.';
    directory[1] = '\0';
  } else if (slash == path) {
    directory[0] = '/';
    directory[1] = '\0';
  } else if (!copy_text(path, static_cast<std::size_t>(slash - path), directory,
                        sizeof directory)) {
    return false;
  }

  char real_directory[PATH_MAX];
  if (realpath(directory, real_directory) == nullptr) return false;
  const std::size_t directory_length = std::strlen(real_directory);
  // The root directory already ends in its separator.
  const bool needs_separator = directory_length == 0 || real_directory[directory_length - 1] != '/';
  const std::size_t total = directory_length + (needs_separator ? 1 : 0) + leaf_length;
  if (total >= resolved_size) return false;
  std::memcpy(resolved, real_directory, directory_length);
  std::size_t at = directory_length;
  if (needs_separator) resolved[at++] = '/';
  std::memcpy(resolved + at, leaf, leaf_length);
  resolved[total] = '\0';
  return true;
}

// Replaces link_path (a symbolic link) with the path its target names: an
// absolute target as it stands, a relative one against the link's directory.
bool follow_link(char* link_path, std::size_t link_path_size, const char* target) {
  const std::size_t target_length = std::strlen(target);
  if (target[0] == '/') return copy_text(target, target_length, link_path, link_path_size);
  const char* slash = std::strrchr(link_path, '/');
  const std::size_t directory_length =
      slash == nullptr ? 0 : static_cast<std::size_t>(slash - link_path) + 1;
  if (directory_length + target_length >= link_path_size) return false;
  std::memcpy(link_path + directory_length, target, target_length + 1);
  return true;
}

class PosixFileSystem final : public FileSystem {
 public:
  FileHandle open_for_reading(const char* path) override {
    int descriptor;
    do {
      descriptor = ::open(path, O_RDONLY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor < 0 ? kInvalidHandle : descriptor;
  }

  // Keeps reading until count bytes arrived or the file ended, as a Win32
  // ReadFile on a file does: fewer bytes than asked then means the end.
  bool read(FileHandle file, void* buffer, std::size_t count, std::size_t* bytes_read) override {
    if (!is_valid(file)) return false;
    auto* into = static_cast<unsigned char*>(buffer);
    std::size_t total = 0;
    while (total < count) {
      const ssize_t got = ::read(to_descriptor(file), into + total, count - total);
      if (got < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      if (got == 0) break;
      total += static_cast<std::size_t>(got);
    }
    if (bytes_read != nullptr) *bytes_read = total;
    return true;
  }

  bool seek(FileHandle file, std::uint64_t offset) override {
    if (!is_valid(file)) return false;
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    const off_t target = static_cast<off_t>(offset);
    return ::lseek(to_descriptor(file), target, SEEK_SET) == target;
  }

  bool size(FileHandle file, std::uint64_t* bytes) override {
    if (!is_valid(file)) return false;
    struct stat status;
    if (::fstat(to_descriptor(file), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    if (bytes != nullptr) *bytes = static_cast<std::uint64_t>(status.st_size);
    return true;
  }

  FileHandle create_new(const char* path, std::uint32_t permissions) override {
    int descriptor;
    do {
      descriptor = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          static_cast<mode_t>(permissions) & kPermissionMask);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor < 0 ? kInvalidHandle : descriptor;
  }

  FileHandle open_for_writing(const char* path) override {
    int descriptor;
    do {
      descriptor = ::open(path, O_WRONLY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor < 0 ? kInvalidHandle : descriptor;
  }

  bool write(FileHandle file, const void* bytes, std::size_t count,
             std::size_t* bytes_written) override {
    if (!is_valid(file)) return false;
    ssize_t put;
    do {
      put = ::write(to_descriptor(file), bytes, count);
    } while (put < 0 && errno == EINTR);
    if (put < 0) return false;
    if (bytes_written != nullptr) *bytes_written = static_cast<std::size_t>(put);
    return true;
  }

  bool close(FileHandle file) override {
    if (!is_valid(file)) return false;
    // Never retry close on EINTR: on Linux the descriptor is gone already and
    // may have been reused by then. A failure may mean lost data, so report it.
    return ::close(to_descriptor(file)) == 0;
  }

  bool rename(const char* from, const char* to) override { return std::rename(from, to) == 0; }

  void remove(const char* path) override { static_cast<void>(::unlink(path)); }

  PathInfo inspect(const char* path) override {
    PathInfo info;
    struct stat status;
    if (::stat(path, &status) != 0) return info;
    info.kind = S_ISREG(status.st_mode) ? PathInfo::Kind::kRegular : PathInfo::Kind::kOther;
    info.device = static_cast<std::uint64_t>(status.st_dev);
    info.inode = static_cast<std::uint64_t>(status.st_ino);
    info.permissions = static_cast<std::uint32_t>(status.st_mode & kPermissionMask);
    info.owner = static_cast<std::uint32_t>(status.st_uid);
    info.group = static_cast<std::uint32_t>(status.st_gid);
    return info;
  }

  bool resolve_links(const char* path, char* resolved, std::size_t resolved_size) override {
    if (path == nullptr || path[0] == '\0' || resolved == nullptr || resolved_size == 0) {
      return false;
    }
    char current[PATH_MAX];
    if (!copy_text(path, std::strlen(path), current, sizeof current)) return false;
    // A link to a file not made yet is followed too, so the font is created
    // where the link points and the link stays, as opening it would do.
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
      char real[PATH_MAX];
      if (realpath(current, real) != nullptr) {
        return copy_text(real, std::strlen(real), resolved, resolved_size);
      }
      if (errno != ENOENT) return false;
      char link_target[PATH_MAX];
      const ssize_t length = ::readlink(current, link_target, sizeof link_target - 1);
      if (length < 0) return resolve_missing_leaf(current, resolved, resolved_size);
      link_target[length] = '\0';
      if (!follow_link(current, sizeof current, link_target)) return false;
    }
    return false;  // a loop of links
  }

  bool set_permissions(FileHandle file, std::uint32_t permissions) override {
    if (!is_valid(file)) return false;
    return ::fchmod(to_descriptor(file), static_cast<mode_t>(permissions) & kPermissionMask) == 0;
  }

  bool sync(FileHandle file) override {
    if (!is_valid(file)) return false;
    int synced;
    do {
      synced = ::fsync(to_descriptor(file));
    } while (synced != 0 && errno == EINTR);
    return synced == 0;
  }

  bool sync_directory(const char* directory) override {
    if (directory == nullptr || directory[0] == '\0') return false;
    int descriptor;
    do {
      descriptor = ::open(directory, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    // A directory the process may write but not read cannot be opened for
    // the sync; the rename is then as durable as the file system makes it.
    if (descriptor < 0) return errno == EACCES || errno == EPERM;
    int synced;
    do {
      synced = ::fsync(descriptor);
    } while (synced != 0 && errno == EINTR);
    // Some file systems have no directory sync at all (EINVAL): nothing was lost.
    const bool durable = synced == 0 || errno == EINVAL || errno == EROFS;
    static_cast<void>(::close(descriptor));
    return durable;
  }

  FileHandle create_unnamed(const char* directory, std::uint32_t permissions) override {
#ifdef O_TMPFILE
    if (directory == nullptr || directory[0] == '\0') return kInvalidHandle;
    int descriptor;
    do {
      descriptor = ::open(directory, O_TMPFILE | O_WRONLY | O_CLOEXEC,
                          static_cast<mode_t>(permissions) & kPermissionMask);
    } while (descriptor < 0 && errno == EINTR);
    return descriptor < 0 ? kInvalidHandle : descriptor;
#else
    static_cast<void>(directory);
    static_cast<void>(permissions);
    return kInvalidHandle;
#endif
  }

  bool link_unnamed(FileHandle file, const char* path) override {
    if (!is_valid(file) || path == nullptr) return false;
#ifdef __linux__
    // Through /proc any process may link its own unnamed file; AT_EMPTY_PATH
    // needs a capability but works without /proc.
    char own_name[64];
    const int length =
        std::snprintf(own_name, sizeof own_name, "/proc/self/fd/%d", to_descriptor(file));
    if (length > 0 && static_cast<std::size_t>(length) < sizeof own_name &&
        ::linkat(AT_FDCWD, own_name, AT_FDCWD, path, AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    if (errno == EEXIST) return false;
    return ::linkat(to_descriptor(file), "", AT_FDCWD, path, AT_EMPTY_PATH) == 0;
#else
    return false;
#endif
  }

  bool set_owner(FileHandle file, std::uint32_t owner, std::uint32_t group) override {
    if (!is_valid(file)) return false;
    return ::fchown(to_descriptor(file), static_cast<uid_t>(owner), static_cast<gid_t>(group)) == 0;
  }

  bool refuses_new_files(const char* directory) override {
    if (directory == nullptr || directory[0] == '\0') return false;
    // The effective ids decide, as they do for open().
    if (::faccessat(AT_FDCWD, directory, W_OK | X_OK, AT_EACCESS) == 0) return false;
    return errno == EACCES || errno == EPERM;
  }

  bool truncate(FileHandle file, std::uint64_t size) override {
    if (!is_valid(file)) return false;
    if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    int cut;
    do {
      cut = ::ftruncate(to_descriptor(file), static_cast<off_t>(size));
    } while (cut != 0 && errno == EINTR);
    return cut == 0;
  }
};

}  // namespace

FileSystem& system_file_system() {
  static PosixFileSystem instance;
  return instance;
}

}  // namespace vellicor

#endif  // !_WIN32
