// Finding and running the machine's own programs for tests.
#include "tests/support/host_tools.hpp"

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace vellicor::test {

bool shell_succeeds(const std::string& command) { return std::system(command.c_str()) == 0; }

#ifndef _WIN32
ShellRun run_shell(const std::string& command) {
  ShellRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[256];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
    run.output.append(chunk, got);
  }
  const int status = ::pclose(pipe);
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}
#endif

bool have_program(const std::string& name) {
  return shell_succeeds("command -v " + name + " >/dev/null 2>&1");
}

const std::string& python_with_pillow() {
  static const std::string kFound = [] {
    for (const std::string candidate : {"python3", "/usr/bin/python3"}) {
      if (shell_succeeds(candidate + " -c 'import PIL' >/dev/null 2>&1")) return candidate;
    }
    return std::string();
  }();
  return kFound;
}

}  // namespace vellicor::test
