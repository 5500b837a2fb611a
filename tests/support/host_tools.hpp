// The machine's own programs that some tests use as independent judges or
// picture writers (a shell, Python with Pillow, ImageMagick, Netpbm).
#pragma once

#include <string>

namespace vellicor::test {

// True when the shell command exits with status 0.
bool shell_succeeds(const std::string& command);

#ifndef _WIN32
// What a shell command printed on its standard output, and its exit status
// (-1 when it did not exit normally).
struct ShellRun {
  int exit_status = -1;
  std::string output;
};
ShellRun run_shell(const std::string& command);
#endif

// True when the shell finds a program of that name.
bool have_program(const std::string& name);

// A Python that has Pillow, or empty when there is none. The one on the
// search path may be a separate installation without it, so the system's own
// is tried as well; the answer is found once per process.
const std::string& python_with_pillow();

}  // namespace vellicor::test
