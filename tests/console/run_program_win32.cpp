// CreateProcess with a pipe on standard output, for the end-to-end tests on
// Windows.
#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <array>
#include <stdexcept>

#include "tests/console/run_program.hpp"

namespace vellicor::test {
namespace {

// One argument as the C runtime's command-line parser reads it back:
// quoted when it holds blanks or quotes (or is empty), backslashes doubled
// only where they stand before a quote.
void append_quoted(std::string& line, const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') backslashes = backslashes * 2 + 1;
    line.append(backslashes, '\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, '\\');
  line += '"';
}

struct HandleCloser {
  HANDLE handle = nullptr;
  ~HandleCloser() {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

}  // namespace

ProgramRun run_program(const std::filesystem::path& program,
                       const std::vector<std::string>& arguments,
                       const std::filesystem::path& directory, bool remove_directory_first) {
  // Windows keeps a process's current directory from being removed.
  if (remove_directory_first) throw std::runtime_error("a current directory cannot be removed");
  // CreateProcess finds a program by its whole name, extension included.
  std::filesystem::path program_file = program;
  if (!program_file.has_extension()) program_file += ".exe";
  const std::string program_text = program_file.string();
  std::string line;
  append_quoted(line, program_text);
  for (const std::string& argument : arguments) {
    line += ' ';
    append_quoted(line, argument);
  }

  SECURITY_ATTRIBUTES inheritable{};
  inheritable.nLength = sizeof inheritable;
  inheritable.bInheritHandle = TRUE;
  HandleCloser read_end;
  HandleCloser write_end;
  if (!CreatePipe(&read_end.handle, &write_end.handle, &inheritable, 0)) {
    throw std::runtime_error("CreatePipe failed");
  }
  SetHandleInformation(read_end.handle, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = write_end.handle;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  const std::string directory_text = directory.string();
  if (!CreateProcessA(program_text.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      directory_text.c_str(), &startup, &process)) {
    throw std::runtime_error("CreateProcess failed for " + program_text);
  }
  HandleCloser process_handle{process.hProcess};
  HandleCloser thread_handle{process.hThread};
  // Only the child holds the write end now, so reading ends when it does.
  CloseHandle(write_end.handle);
  write_end.handle = nullptr;

  ProgramRun run;
  std::array<char, 4096> chunk;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(read_end.handle, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) ||
        got == 0) {
      break;
    }
    run.output.append(chunk.data(), got);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  if (GetExitCodeProcess(process.hProcess, &status)) run.exit_status = static_cast<int>(status);
  return run;
}

}  // namespace vellicor::test

#endif  // _WIN32
