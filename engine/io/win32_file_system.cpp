// The Win32 file layer: the KERNEL32 calls behind every file access.
#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "engine/io/file_system.hpp"

namespace vellicor {

namespace {

// Without a read-only attribute a file is writable by everyone who may open it.
constexpr std::uint32_t kWritablePermissions = 0666;
constexpr std::uint32_t kReadOnlyPermissions = 0444;
constexpr DWORD kLargestTransfer = std::numeric_limits<DWORD>::max();

// A path as the wide-character calls take it. The engine's paths are ANSI
// texts of at most 259 characters, but a temporary file beside a font that
// long passes MAX_PATH, which only the wide calls accept, and only with the
// \\?\ prefix on a full path. Shorter paths are handed over as they are, so
// device names (NUL) and relative paths mean what they always meant.
class WidePath {
 public:
  explicit WidePath(const char* path) {
    if (path == nullptr) return;
    const int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (length <= 0) return;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, text.data(), length) != length) return;
    text.pop_back();  // the terminator counted by the call
    if (text.size() >= MAX_PATH) text = with_long_prefix(text);
    text_ = std::move(text);
  }

  // Empty when the path could not be converted, so the call fails as for a
  // missing file (never null, which some calls read as "no second path").
  const wchar_t* get() const { return text_.c_str(); }

 private:
  // The full, normalised path with the prefix that lifts MAX_PATH: \\?\C:\...,
  // or \\?\UNC\server\share\... for a network path. Empty on failure.
  static std::wstring with_long_prefix(const std::wstring& path) {
    if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
  }

  std::wstring text_;
};

// The longest path the wide calls take, prefix included.
constexpr DWORD kLongestWidePath = 32768;

// A wide path back in the ANSI code page the engine's paths use, terminated;
// false when it does not fit size bytes.
bool to_ansi(const std::wstring& path, char* out, std::size_t size) {
  const int length = WideCharToMultiByte(
      CP_ACP, 0, path.c_str(), -1, out,
      static_cast<int>(std::min<std::size_t>(size, std::numeric_limits<int>::max())), nullptr,
      nullptr);
  return length > 0;
}

HANDLE to_native(FileHandle file) { return reinterpret_cast<HANDLE>(file); }
FileHandle from_native(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? kInvalidHandle : reinterpret_cast<FileHandle>(handle);
}

class Win32FileSystem final : public FileSystem {
 public:
  FileHandle open_for_reading(const char* path) override {
    return from_native(CreateFileW(WidePath(path).get(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS | FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
  }

  // ReadFile takes 32-bit counts; larger requests go in pieces until the end.
  bool read(FileHandle file, void* buffer, std::size_t count, std::size_t* bytes_read) override {
    auto* into = static_cast<unsigned char*>(buffer);
    std::size_t total = 0;
    while (total < count) {
      const std::size_t remaining = count - total;
      const DWORD piece =
          remaining > kLargestTransfer ? kLargestTransfer : static_cast<DWORD>(remaining);
      DWORD got = 0;
      if (!ReadFile(to_native(file), into + total, piece, &got, nullptr)) return false;
      if (got == 0) break;
      total += got;
    }
    if (bytes_read != nullptr) *bytes_read = total;
    return true;
  }

  bool seek(FileHandle file, std::uint64_t offset) override {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max())) return false;
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    LARGE_INTEGER reached;
    return SetFilePointerEx(to_native(file), distance, &reached, FILE_BEGIN) &&
           static_cast<std::uint64_t>(reached.QuadPart) == offset;
  }

  bool size(FileHandle file, std::uint64_t* bytes) override {
    if (GetFileType(to_native(file)) != FILE_TYPE_DISK) return false;
    LARGE_INTEGER length;
    if (!GetFileSizeEx(to_native(file), &length)) return false;
    if (bytes != nullptr) *bytes = static_cast<std::uint64_t>(length.QuadPart);
    return true;
  }

  // No one else may open the file while the font is written into it. DELETE
  // access lets set_discard_on_close mark it.
  FileHandle create_new(const char* path, std::uint32_t permissions) override {
    static_cast<void>(permissions);  // Win32 files carry no such bits
    return from_native(CreateFileW(WidePath(path).get(), GENERIC_WRITE | DELETE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  }

  // Windows refuses to write a read-only file; asked here first as well, so
  // the rule holds for a process that could write it anyway (wine run by root).
  FileHandle open_for_writing(const char* path) override {
    const DWORD attributes = GetFileAttributesW(WidePath(path).get());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      SetLastError(ERROR_ACCESS_DENIED);
      return kInvalidHandle;
    }
    return from_native(CreateFileW(WidePath(path).get(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  }

  bool write(FileHandle file, const void* bytes, std::size_t count,
             std::size_t* bytes_written) override {
    // One call; a count beyond 32 bits is reported as the short write it becomes.
    const DWORD piece = count > kLargestTransfer ? kLargestTransfer : static_cast<DWORD>(count);
    DWORD put = 0;
    if (!WriteFile(to_native(file), bytes, piece, &put, nullptr)) return false;
    if (bytes_written != nullptr) *bytes_written = put;
    return true;
  }

  bool close(FileHandle file) override { return CloseHandle(to_native(file)) != 0; }

  bool sync(FileHandle file) override { return FlushFileBuffers(to_native(file)) != 0; }

  // MoveFileExW with MOVEFILE_WRITE_THROUGH returns once the move is on the
  // disk, so a directory has nothing left to sync.
  bool sync_directory(const char* directory) override {
    static_cast<void>(directory);
    return true;
  }

  bool set_discard_on_close(FileHandle file, bool discard) override {
    FILE_DISPOSITION_INFO disposition;
    disposition.DeleteFile = discard ? TRUE : FALSE;
    return SetFileInformationByHandle(to_native(file), FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
  }

  bool truncate(FileHandle file, std::uint64_t size) override {
    return seek(file, size) && SetEndOfFile(to_native(file)) != 0;
  }

  bool rename(const char* from, const char* to) override {
    return MoveFileExW(WidePath(from).get(), WidePath(to).get(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  void remove(const char* path) override { static_cast<void>(DeleteFileW(WidePath(path).get())); }

  PathInfo inspect(const char* path) override {
    PathInfo info;
    // Opening with no access reads the attributes of files, directories and
    // devices alike, following links to what they name.
    const HANDLE handle =
        CreateFileW(WidePath(path).get(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return info;
    BY_HANDLE_FILE_INFORMATION details;
    const bool is_disk_file = GetFileType(handle) == FILE_TYPE_DISK;
    if (is_disk_file && GetFileInformationByHandle(handle, &details)) {
      const bool is_directory = (details.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      info.kind = is_directory ? PathInfo::Kind::kOther : PathInfo::Kind::kRegular;
      info.device = details.dwVolumeSerialNumber;
      info.inode =
          (static_cast<std::uint64_t>(details.nFileIndexHigh) << 32) | details.nFileIndexLow;
      info.permissions = (details.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0
                             ? kReadOnlyPermissions
                             : kWritablePermissions;
    } else {
      info.kind = PathInfo::Kind::kOther;  // a device such as NUL, or a pipe
    }
    CloseHandle(handle);
    return info;
  }

  bool resolve_links(const char* path, char* resolved, std::size_t resolved_size) override {
    if (path == nullptr || path[0] == '\0' || resolved == nullptr || resolved_size == 0 ||
        resolved_size > kLargestTransfer) {
      return false;
    }
    const WidePath wide(path);
    std::wstring found(kLongestWidePath, L'\0');
    // An existing file is named by its final path, links resolved.
    const HANDLE handle =
        CreateFileW(wide.get(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    DWORD length = 0;
    if (handle != INVALID_HANDLE_VALUE) {
      length = GetFinalPathNameByHandleW(handle, found.data(), kLongestWidePath,
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
      CloseHandle(handle);
    } else {
      // A file still to be made: its full name against the current directory.
      length = GetFullPathNameW(wide.get(), kLongestWidePath, found.data(), nullptr);
    }
    if (length == 0 || length >= kLongestWidePath) return false;
    found.resize(length);
    return to_ansi(found, resolved, resolved_size);
  }
};

}  // namespace

FileSystem& system_file_system() {
  static Win32FileSystem instance;
  return instance;
}

}  // namespace vellicor

#endif  // _WIN32
