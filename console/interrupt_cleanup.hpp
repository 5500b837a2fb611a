// Ends the console cleanly when it is interrupted while writing a font.
#pragma once

namespace vellicor::console {

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the font's
// named temporary file, if one exists at that moment, and then end the process
// as the signal would have ended it. Signals that the process ignores (as
// under nohup) stay ignored. Where the temporary has no name (Linux
// O_TMPFILE) or the system deletes it itself (Windows), there is nothing to
// remove; the handler still ends the process the same way. Does nothing on
// systems without POSIX signals.
void install_interrupt_cleanup();

}  // namespace vellicor::console
