// The output file that appears whole or not at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/io/file_system.hpp"
#include "vellicor/internal/result_codes.hpp"

namespace vellicor {

// A font file being written, through one output buffer that reaches the
// operating system in one write call each time it is full, and once more at
// the end.
//
// A regular (or not yet existing) target is replaced whole: the bytes go to a
// temporary file in the target's directory, which has no name at all where
// the system allows (Linux O_TMPFILE) and otherwise a hidden one that a
// signal handler may remove (pending_temporary.hpp). commit() syncs it to the
// disk, moves it over the target and syncs the directory; destroyed without
// commit, the temporary goes, so no partial font is ever left and an existing
// file keeps its contents. A replaced file keeps its permission bits and,
// where the process may set them, its owner and group. Where the directory
// refuses a new file but the target itself is writable, the target is
// written in place (truncated first; nothing then protects its old
// contents). A target that exists and is not a regular file (a device, a
// pipe) is written directly and never synced.
class OutputFile {
 public:
  // Bytes handed to the operating system per write call: of 64 KiB to 1 MiB,
  // 64 and 128 KiB cost the least processor time (the buffer stays in the
  // cache), and 128 KiB halves the calls.
  static constexpr std::size_t kBufferSize = std::size_t{128} * 1024;
  // The most that reserve() gives at once.
  static constexpr std::size_t kMostReserved = 4096;

  explicit OutputFile(FileSystem& fs);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  // Opens the output for target_path. kFileAccess with kFileAccess detail on
  // failure; kOutOfMemory (detail kOutOfMemory) when its buffer cannot be had.
  ResultCode create(const char* target_path, ErrorDetail* detail);

  // Room for count bytes (at most kMostReserved) at the end of the buffered
  // text; the caller fills what it uses and claims it with advance(). After a
  // failure the room is still there and what is put in it goes nowhere. Null
  // for more than kMostReserved bytes, or before a buffer was had.
  char* reserve(std::size_t count) {
    if (count > kMostReserved || buffer_ == nullptr) return nullptr;
    return buffer_ + used_;
  }
  // Claims count bytes of the room reserve() gave; a full buffer goes out.
  void advance(std::size_t count) {
    used_ += count;
    if (used_ >= kBufferSize) drain();
  }
  // Appends all count bytes, or fails with kFileAccess (detail kFileAccess).
  ResultCode write_exact(const void* bytes, std::size_t count, ErrorDetail* detail);
  // False once a write failed: nothing more reaches the file.
  bool ok() const { return !broken_; }
  // Writes the rest, syncs, closes and moves the file over the target. After
  // a failure the temporary is gone and the target untouched (-6, detail -2),
  // but for a failed sync of the directory, which comes after the move.
  ResultCode commit(ErrorDetail* detail);

 private:
  struct State;
  void drain();
  bool write_all(const char* bytes, std::size_t count);
  ResultCode open_direct(const char* target_path);
  ResultCode open_replacement(const char* target_path, const PathInfo& info);
  bool open_unnamed(std::uint32_t permissions);
  bool open_named(std::uint32_t permissions);
  bool name_unnamed();
  ResultCode fail_and_discard(ErrorDetail* detail);
  void discard();

  FileSystem* fs_;
  std::unique_ptr<State> state_;
  // kBufferSize bytes and kMostReserved more, so that a reservation made just
  // before the buffer is full still fits; what passes kBufferSize moves to
  // the front when the full buffer has gone out.
  char* buffer_ = nullptr;
  std::size_t used_ = 0;
  bool broken_ = true;  // until create() succeeds
};

}  // namespace vellicor
