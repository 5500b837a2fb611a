// Signal handlers that remove the temporary font file before the process ends.
#include "console/interrupt_cleanup.hpp"

#ifndef _WIN32
#include <signal.h>
#endif

#include "vellicor/internal/pending_temporary.hpp"

namespace vellicor::console {

#ifndef _WIN32

namespace {

constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Only async-signal-safe calls: unlink() inside remove_pending_temporary,
// then the same signal raised again under its default action. The signal is
// blocked while its handler runs, so it arrives the moment the handler
// returns and ends the process with that signal's status.
void on_interrupt(int signal_number) {
  vellicor::remove_pending_temporary();
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  sigemptyset(&default_action.sa_mask);
  static_cast<void>(sigaction(signal_number, &default_action, nullptr));
  static_cast<void>(raise(signal_number));
}

}  // namespace

void install_interrupt_cleanup() {
  for (const int signal_number : kCleanedSignals) {
    struct sigaction current {};
    if (sigaction(signal_number, nullptr, &current) != 0) continue;
    if (current.sa_handler == SIG_IGN) continue;  // nohup and friends keep their choice
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    // Another of these signals arriving meanwhile waits until the first has ended the process.
    for (const int other : kCleanedSignals) sigaddset(&action.sa_mask, other);
    static_cast<void>(sigaction(signal_number, &action, nullptr));
  }
}

#else

void install_interrupt_cleanup() {}

#endif

}  // namespace vellicor::console
