// Finding and running the machine's own programs for tests.
#include "tests/support/host_tools.hpp"

#include <cstdlib>

namespace vellicor::test {

bool shell_succeeds(const std::string& command) { return std::system(command.c_str()) == 0; }

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
