// The output file: one buffer, a temporary beside the target, synced and
// moved over the target only when the font is complete.
#include "engine/io/output_file.hpp"

#include <chrono>
#include <cstring>
#include <new>

#include "vellicor/internal/pending_temporary.hpp"

namespace vellicor {

namespace {

// Room for a resolved path: the output name is short, but the directory it
// resolves to (the current directory, a link's target) may be long.
constexpr std::size_t kResolvedPathSize = 4096;
// A new file gets these bits; the operating system's umask applies to them.
constexpr std::uint32_t kNewFilePermissions = 0666;

// The temporary's name: a prefix and generated characters.
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

// The clock and the writer's address differ between concurrent writers;
// creation with exclusive access settles any collision that remains.
std::uint64_t temporary_seed(const void* writer) {
  return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(writer));
}

// Names a temporary beside target in temporary (kResolvedPathSize bytes):
// ".vlc" and six generated characters, whatever the target is called, so a
// target name near the length limit still works. try_name(name) makes the
// file under that name; a name that is taken already is retried, any other
// failure (no permission, no space, no directory) would fail again and ends
// the attempts. seed differs between concurrent writers.
template <typename TryName>
bool make_temporary(FileSystem& fs, const char* target, char* temporary, std::uint64_t seed,
                    TryName&& try_name) {
  const std::size_t directory_length = directory_length_of(target);
  const std::size_t name_length =
      directory_length + kTemporaryPrefixLength + kTemporaryUniqueLength;
  if (name_length >= kResolvedPathSize) return false;
  std::memcpy(temporary, target, directory_length);
  std::memcpy(temporary + directory_length, kTemporaryPrefix, kTemporaryPrefixLength);
  char* unique = temporary + directory_length + kTemporaryPrefixLength;
  temporary[name_length] = '\0';
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    seed = mix_bits(seed);
    std::uint64_t bits = seed;
    for (std::size_t at = 0; at < kTemporaryUniqueLength; ++at) {
      unique[at] = kTemporaryAlphabet[bits % kTemporaryAlphabetSize];
      bits /= kTemporaryAlphabetSize;
    }
    if (try_name(static_cast<const char*>(temporary))) return true;
    if (fs.inspect(temporary).kind == PathInfo::Kind::kMissing) return false;
  }
  return false;
}

}  // namespace

struct OutputFile::State {
  enum class Kind {
    kDirect,   // a device or a pipe, written as it stands
    kUnnamed,  // a file without a name yet, linked in at commit
    kNamed,    // a hidden temporary beside the target
    kInPlace,  // the target itself, truncated
  };
  Kind kind = Kind::kDirect;
  FileHandle handle = kInvalidHandle;
  bool named = false;           // temporary holds a name that exists on disk
  bool marked_discard = false;  // the system deletes the file when it closes
  bool committed = false;
  char target[kResolvedPathSize] = {};     // the real file behind the output name
  char directory[kResolvedPathSize] = {};  // the target's directory, with its separator
  char temporary[kResolvedPathSize] = {};  // the temporary's name, once it has one
  std::unique_ptr<char[]> buffer;
};

OutputFile::OutputFile(FileSystem& fs) : fs_(&fs) {}

OutputFile::~OutputFile() {
  if (state_ != nullptr && !state_->committed) discard();
}

void OutputFile::discard() {
  State& state = *state_;
  if (state.handle != kInvalidHandle) {
    // The file is being thrown away, so what close reports no longer matters.
    // An unnamed or discard-marked temporary vanishes right here.
    static_cast<void>(fs_->close(state.handle));
    state.handle = kInvalidHandle;
  }
  if (state.named) {
    fs_->remove(state.temporary);
    state.named = false;
    release_pending_temporary();
  }
  used_ = 0;
  broken_ = true;
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
  if (state_ != nullptr) state_->buffer.reset(new (std::nothrow) char[kBufferSize + kMostReserved]);
  if (state_ == nullptr || state_->buffer == nullptr) {
    state_.reset();
    return fail(detail, ErrorDetail::kOutOfMemory, ResultCode::kOutOfMemory);
  }
  buffer_ = state_->buffer.get();

  const PathInfo info = fs_->inspect(target_path);
  const ResultCode result = info.kind == PathInfo::Kind::kOther
                                ? open_direct(target_path)
                                : open_replacement(target_path, info);
  if (failed(result)) return fail_and_discard(detail);
  broken_ = false;
  return ResultCode::kOk;
}

ResultCode OutputFile::open_direct(const char* target_path) {
  // A device or a pipe cannot be replaced by renaming; it takes the bytes as
  // they come (a directory fails to open here).
  state_->kind = State::Kind::kDirect;
  state_->handle = fs_->open_for_writing(target_path);
  return state_->handle == kInvalidHandle ? ResultCode::kFileAccess : ResultCode::kOk;
}

ResultCode OutputFile::open_replacement(const char* target_path, const PathInfo& info) {
  State& state = *state_;
  // Links are followed, so the file they point to is replaced and they stay.
  if (!fs_->resolve_links(target_path, state.target, sizeof state.target)) {
    return ResultCode::kFileAccess;
  }
  const std::size_t directory_length = directory_length_of(state.target);
  std::memcpy(state.directory, state.target, directory_length);
  state.directory[directory_length] = '\0';
  if (directory_length == 0) std::memcpy(state.directory, ".", 2);

  const bool replaces = info.kind == PathInfo::Kind::kRegular;
  // A file the user may not write keeps its contents, as if it had been
  // opened for writing in place; the handle also serves for writing in place.
  FileHandle in_place = kInvalidHandle;
  if (replaces) {
    in_place = fs_->open_for_writing(state.target);
    if (in_place == kInvalidHandle) return ResultCode::kFileAccess;
  }
  const std::uint32_t permissions = replaces ? info.permissions : kNewFilePermissions;
  if (open_unnamed(permissions) || open_named(permissions)) {
    if (in_place != kInvalidHandle) static_cast<void>(fs_->close(in_place));  // nothing written
  } else if (in_place != kInvalidHandle && fs_->refuses_new_files(state.directory) &&
             fs_->truncate(in_place, 0)) {
    // The directory takes no new file, but the target can be rewritten. Only
    // a refusal counts: after a full disk the old font must stay whole.
    state.kind = State::Kind::kInPlace;
    state.handle = in_place;
    return ResultCode::kOk;
  } else {
    if (in_place != kInvalidHandle) static_cast<void>(fs_->close(in_place));
    return ResultCode::kFileAccess;
  }
  if (replaces) {
    // Owner first: a change of owner may clear set-id bits that the
    // permissions then restore. Where the process may not give the file its
    // owner (only root may), it still keeps the group where it can.
    if (!fs_->set_owner(state.handle, info.owner, info.group)) {
      static_cast<void>(fs_->set_owner(state.handle, kUnchangedId, info.group));
    }
    // Creation filtered the bits through the umask; a replaced file keeps its own.
    if (!fs_->set_permissions(state.handle, permissions)) return ResultCode::kFileAccess;
  }
  return ResultCode::kOk;
}

bool OutputFile::open_unnamed(std::uint32_t permissions) {
  State& state = *state_;
  state.handle = fs_->create_unnamed(state.directory, permissions);
  if (state.handle == kInvalidHandle) return false;
  state.kind = State::Kind::kUnnamed;
  return true;
}

// Tries generated names beside the target until one is free; on success
// state.temporary holds it.
bool OutputFile::open_named(std::uint32_t permissions) {
  State& state = *state_;
  if (!make_temporary(*fs_, state.target, state.temporary, temporary_seed(this),
                      [&](const char* name) {
                        state.handle = fs_->create_new(name, permissions);
                        return state.handle != kInvalidHandle;
                      })) {
    return false;
  }
  state.kind = State::Kind::kNamed;
  state.named = true;
  hold_pending_temporary(state.temporary);
  // Where the system can, it deletes the temporary itself should the process end early.
  state.marked_discard = fs_->set_discard_on_close(state.handle, true);
  return true;
}

// Gives the unnamed temporary a free generated name beside the target.
bool OutputFile::name_unnamed() {
  State& state = *state_;
  if (!make_temporary(*fs_, state.target, state.temporary, temporary_seed(this),
                      [&](const char* name) { return fs_->link_unnamed(state.handle, name); })) {
    return false;
  }
  state.named = true;
  hold_pending_temporary(state.temporary);
  return true;
}

bool OutputFile::write_all(const char* bytes, std::size_t count) {
  std::size_t written = 0;
  // One write call; a short write is a failure, not something to retry.
  return fs_->write(state_->handle, bytes, count, &written) && written == count;
}

void OutputFile::drain() {
  if (broken_) {
    used_ = 0;
    return;
  }
  const std::size_t full = used_ < kBufferSize ? used_ : kBufferSize;
  if (!write_all(buffer_, full)) {
    discard();
    return;
  }
  // What a reservation put past the full buffer starts the next one.
  std::memmove(buffer_, buffer_ + full, used_ - full);
  used_ -= full;
}

ResultCode OutputFile::write_exact(const void* bytes, std::size_t count, ErrorDetail* detail) {
  if (broken_) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  if (count == 0) return ResultCode::kOk;
  if (bytes == nullptr) return fail_and_discard(detail);
  const auto* from = static_cast<const char*>(bytes);
  while (count > 0) {
    const std::size_t room = kBufferSize - used_;
    const std::size_t piece = count < room ? count : room;
    std::memcpy(buffer_ + used_, from, piece);
    from += piece;
    count -= piece;
    advance(piece);
    if (broken_) return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  return ResultCode::kOk;
}

ResultCode OutputFile::commit(ErrorDetail* detail) {
  if (state_ == nullptr || broken_ || state_->committed || state_->handle == kInvalidHandle) {
    return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
  }
  State& state = *state_;
  if (used_ > 0 && !write_all(buffer_, used_)) return fail_and_discard(detail);
  used_ = 0;
  // A device takes no sync (and /dev/null refuses one); every file is on the
  // disk before its name can show the new font.
  if (state.kind != State::Kind::kDirect && !fs_->sync(state.handle)) {
    return fail_and_discard(detail);
  }
  if (state.kind == State::Kind::kUnnamed && !name_unnamed()) return fail_and_discard(detail);
  if (state.marked_discard) {
    if (!fs_->set_discard_on_close(state.handle, false)) return fail_and_discard(detail);
    state.marked_discard = false;
  }
  const FileHandle handle = state.handle;
  state.handle = kInvalidHandle;
  // A failed close may have lost data, so the file is not trusted after it.
  if (!fs_->close(handle)) return fail_and_discard(detail);
  if (state.named) {
    if (!fs_->rename(state.temporary, state.target)) return fail_and_discard(detail);
    state.named = false;
    release_pending_temporary();
  }
  state.committed = true;
  broken_ = true;  // nothing more goes into this file
  // The rename is durable only once the directory is; the font has replaced
  // the target already, so a failure here is reported but undoes nothing.
  if (state.kind == State::Kind::kUnnamed || state.kind == State::Kind::kNamed) {
    if (!fs_->sync_directory(state.directory)) {
      return fail(detail, ErrorDetail::kFileAccess, ResultCode::kFileAccess);
    }
  }
  return ResultCode::kOk;
}

}  // namespace vellicor
