// One fixed slot for the name of the temporary file being written.
#include "vellicor/internal/pending_temporary.hpp"

#include <atomic>
#include <csignal>
#include <cstddef>
#include <cstring>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vellicor {

namespace {

// Room for any resolved output path with its temporary's name.
constexpr std::size_t kSlotSize = 4096;

// The name is complete before `held` says so, and `held` is cleared before
// the name is touched again, so a handler never reads half a name.
char pending_name[kSlotSize];
volatile std::sig_atomic_t held = 0;

}  // namespace

void hold_pending_temporary(const char* path) noexcept {
  held = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  if (path == nullptr) return;
  const std::size_t length = std::strlen(path);
  if (length >= kSlotSize) return;
  std::memcpy(pending_name, path, length + 1);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  held = 1;
}

void release_pending_temporary() noexcept {
  held = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

void remove_pending_temporary() noexcept {
  if (held == 0) return;
  std::atomic_signal_fence(std::memory_order_seq_cst);
#ifndef _WIN32
  static_cast<void>(::unlink(pending_name));
#endif
  // On Windows the temporary is marked delete-on-close and needs no help.
  held = 0;
}

}  // namespace vellicor
