// The output file: buffered writes into a temporary beside the target, moved
// over the target only when the font is complete.
#include "engine/file_io.hpp"

#include <chrono>
#include <cstring>
#include <new>

namespace vellicor {

namespace {

// Small records are collected up to this size before one write call.
constexpr std::size_t kOutputBufferSize = std::size_t{64} * 1024;
// Room for a resolved path: the output name is short, but the directory it
// resolves to (the current directory, a link's target) may be long.
constexpr std::size_t kResolvedPathSize = 4096;
// A new file gets these bits; the operating system's umask applies to them.
constexpr std::uint32_t kNewFilePermissions = 0666;

// The temporary is named ".vlc" and six characters of its own, whatever the
// target is called, so a target name near the length limit still works.
constexpr char kTemporaryPrefix[] = ".vlc";
constexpr std::size_t kTemporaryPrefixLength = sizeof kTemporaryPrefix - 1;
constexpr std::size_t kTemporaryUniqueLength = 6;
constexpr char kTemporaryAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::uint64_t kTemporaryAlphabetSize = sizeof kTemporaryAlphabet - 1;
// Another file already holding a generated name is retried this many times.
constexpr int kTemporaryAttempts = 16;

// One step of SplitMix64: spreads a seed evenly over 64 bits.
std::uint64_t mix_bits(std::uint64_t value) {
  value += 0x9E3779B97F4A7C15ULL;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31);
}

// Where the directory part of a resolved path ends: after its last separator
// (Windows takes the backslash as well), or 0 for a bare name.
std::size_t directory_length_of(const char* path) {
  std::size_t length = 0;
  for (std::size_t at = 0; path[at] != '\0'; ++at) {
#ifdef _WIN32
    const bool is_separator = path[at] == '/' || path[at] == '\\';
#else
    const bool is_separator = path[at] == '/';
#endif
    if (is_separator) length = at + 1;
  }
  return length;
}

}  // namespace

struct OutputFile::State {
  FileHandle handle = kInvalidHandle;
  bool uses_temporary = false;  // bytes go to temporary, renamed over target on commit
  bool broken = false;          // a step failed; nothing more is written
  bool committed = false;
  char target[kResolvedPathSize] = {};     // the real file behind the output name
  char temporary[kResolvedPathSize] = {};  // the temporary beside it, when used
  std::unique_ptr<std::uint8_t[]> buffer;
  std::size_t buffered_bytes = 0;
};

OutputFile::OutputFile(FileSystem& fs) : fs_(&fs) {}

OutputFile::~OutputFile() {
  if (state_ != nullptr && !state_->committed) discard();
}

void OutputFile::discard() {
  State& state = *state_;
  if (state.handle != kInvalidHandle) {
    // The file is being thrown away, so what close reports no longer matters.
    static_cast<void>(fs_->close(state.handle));
    state.handle = kInvalidHandle;
  }
  if (state.uses_temporary) {
    fs_->remove(state.temporary);
    state.uses_temporary = false;
  }
  state.buffered_bytes = 0;
  state.broken = true;
}

ResultCode OutputFile::fail_and_discard(ErrorDetail* detail) {
  if (state_ != nullptr) discard();
  return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
}

ResultCode OutputFile::create(const char* target_path, ErrorDetail* detail) {
  if (state_ != nullptr || target_path == nullptr || target_path[0] == '\0') {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  state_.reset(new (std::nothrow) State);
  if (state_ != nullptr) state_->buffer.reset(new (std::nothrow) std::uint8_t[kOutputBufferSize]);
  if (state_ == nullptr || state_->buffer == nullptr) {
    state_.reset();
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  State& state = *state_;

  const PathInfo info = fs_->inspect(target_path);
  if (info.kind == PathInfo::Kind::kOther) {
    // A device or a pipe cannot be replaced by renaming; it takes the bytes as
    // they come (a directory fails to open here).
    state.handle = fs_->open_for_writing(target_path);
    if (state.handle == kInvalidHandle) return fail_and_discard(detail);
    return ResultCode::kOk;
  }

  // Links are followed, so the file they point to is replaced and they stay.
  if (!fs_->resolve_links(target_path, state.target, sizeof state.target)) {
    return fail_and_discard(detail);
  }
  if (info.kind == PathInfo::Kind::kRegular) {
    // A file the user may not write keeps its contents, as if it had been
    // opened for writing in place.
    const FileHandle probe = fs_->open_for_writing(state.target);
    if (probe == kInvalidHandle) return fail_and_discard(detail);
    static_cast<void>(fs_->close(probe));  // nothing was written through it
  }
  if (failed(open_temporary(info))) return fail_and_discard(detail);
  return ResultCode::kOk;
}

ResultCode OutputFile::open_temporary(const PathInfo& target_info) {
  State& state = *state_;
  const std::size_t directory_length = directory_length_of(state.target);
  const std::size_t name_length =
      directory_length + kTemporaryPrefixLength + kTemporaryUniqueLength;
  if (name_length >= sizeof state.temporary) return ResultCode::kFileAccess;
  std::memcpy(state.temporary, state.target, directory_length);
  std::memcpy(state.temporary + directory_length, kTemporaryPrefix, kTemporaryPrefixLength);
  char* unique = state.temporary + directory_length + kTemporaryPrefixLength;
  state.temporary[name_length] = '\0';

  const bool replaces = target_info.kind == PathInfo::Kind::kRegular;
  const std::uint32_t permissions = replaces ? target_info.permissions : kNewFilePermissions;
  // The clock and this object's address differ between concurrent writers;
  // creation with exclusive access settles any collision that remains.
  std::uint64_t seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(this));
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    seed = mix_bits(seed);
    std::uint64_t bits = seed;
    for (std::size_t at = 0; at < kTemporaryUniqueLength; ++at) {
      unique[at] = kTemporaryAlphabet[bits % kTemporaryAlphabetSize];
      bits /= kTemporaryAlphabetSize;
    }
    state.handle = fs_->create_new(state.temporary, permissions);
    if (state.handle != kInvalidHandle) break;
    // Only a name that is taken is worth another try; anything else (no
    // permission, no space, no directory) fails the same way again.
    if (fs_->inspect(state.temporary).kind == PathInfo::Kind::kMissing) {
      return ResultCode::kFileAccess;
    }
  }
  if (state.handle == kInvalidHandle) return ResultCode::kFileAccess;
  state.uses_temporary = true;
  // Creation filtered the bits through the umask; a replaced file keeps its own.
  if (replaces && !fs_->set_permissions(state.handle, permissions)) return ResultCode::kFileAccess;
  return ResultCode::kOk;
}

ResultCode OutputFile::write_buffered() {
  State& state = *state_;
  if (state.buffered_bytes == 0) return ResultCode::kOk;
  std::size_t written = 0;
  const bool wrote = fs_->write(state.handle, state.buffer.get(), state.buffered_bytes, &written);
  // One write call; a short write is a failure, not something to retry.
  if (!wrote || written != state.buffered_bytes) return ResultCode::kFileAccess;
  state.buffered_bytes = 0;
  return ResultCode::kOk;
}

ResultCode OutputFile::write_exact(const void* bytes, std::size_t count, ErrorDetail* detail) {
  if (state_ == nullptr || state_->broken || state_->handle == kInvalidHandle) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  if (count == 0) return ResultCode::kOk;
  if (bytes == nullptr) return fail_and_discard(detail);
  State& state = *state_;
  if (count > kOutputBufferSize - state.buffered_bytes) {
    if (failed(write_buffered())) return fail_and_discard(detail);
  }
  if (count > kOutputBufferSize) {
    // Larger than the whole buffer: straight to the operating system.
    std::size_t written = 0;
    if (!fs_->write(state.handle, bytes, count, &written) || written != count) {
      return fail_and_discard(detail);
    }
    return ResultCode::kOk;
  }
  std::memcpy(state.buffer.get() + state.buffered_bytes, bytes, count);
  state.buffered_bytes += count;
  return ResultCode::kOk;
}

ResultCode OutputFile::flush(ErrorDetail* detail) {
  if (state_ == nullptr || state_->broken || state_->handle == kInvalidHandle) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  if (failed(write_buffered())) return fail_and_discard(detail);
  return ResultCode::kOk;
}

ResultCode OutputFile::commit(ErrorDetail* detail) {
  if (state_ == nullptr || state_->broken || state_->committed ||
      state_->handle == kInvalidHandle) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  if (failed(flush(detail))) return ResultCode::kFileAccess;  // flush discarded already
  State& state = *state_;
  const FileHandle handle = state.handle;
  state.handle = kInvalidHandle;
  // A failed close may have lost data, so the file is not trusted after it.
  if (!fs_->close(handle)) return fail_and_discard(detail);
  if (state.uses_temporary) {
    if (!fs_->rename(state.temporary, state.target)) return fail_and_discard(detail);
    state.uses_temporary = false;
  }
  state.committed = true;
  return ResultCode::kOk;
}

}  // namespace vellicor
