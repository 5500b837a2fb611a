// The named temporary file that a conversion has on disk right now, kept
// where a signal handler can find it: an interrupted console removes it
// instead of leaving a half-written font behind.
#pragma once

namespace vellicor {

// Records path (absolute, as the output file resolved it) as the temporary
// that exists from now on; a longer name than the slot holds is not recorded.
// One slot for the process: the console converts one font at a time.
void hold_pending_temporary(const char* path) noexcept;
// The temporary is gone: renamed over its target or removed.
void release_pending_temporary() noexcept;
// Removes the recorded temporary, if any. Async-signal-safe: only a fixed
// buffer and unlink() are used.
void remove_pending_temporary() noexcept;

}  // namespace vellicor
