// fork/exec with a pipe on standard output, for the end-to-end tests (the
// Windows version is in run_program_win32.cpp).
#include "tests/console/run_program.hpp"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <array>
#include <stdexcept>

namespace vellicor::test {

#ifndef _WIN32
ProgramRun run_program(const std::filesystem::path& program,
                       const std::vector<std::string>& arguments,
                       const std::filesystem::path& directory, bool remove_directory_first) {
  std::string program_text = program.string();
  std::vector<std::string> texts{program_text};
  texts.insert(texts.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  const std::string directory_text = directory.string();

  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    // Only async-signal-safe calls from here to exec.
    ::close(pipe_ends[0]);
    if (::dup2(pipe_ends[1], STDOUT_FILENO) < 0) ::_exit(127);
    ::close(pipe_ends[1]);
    if (::chdir(directory_text.c_str()) != 0) ::_exit(127);
    if (remove_directory_first && ::rmdir(directory_text.c_str()) != 0) ::_exit(127);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  ProgramRun run;
  std::array<char, 4096> chunk;
  for (;;) {
    const ssize_t got = ::read(pipe_ends[0], chunk.data(), chunk.size());
    if (got <= 0) break;
    run.output.append(chunk.data(), static_cast<std::size_t>(got));
  }
  ::close(pipe_ends[0]);
  int status = 0;
  if (::waitpid(child, &status, 0) != child) throw std::runtime_error("waitpid failed");
  if (WIFEXITED(status)) run.exit_status = WEXITSTATUS(status);
  return run;
}
#endif  // !_WIN32

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace vellicor::test
