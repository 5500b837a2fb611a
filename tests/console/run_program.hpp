// Runs a program with a chosen argument list and working directory, and
// hands back what it printed and how it ended.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vellicor::test {

struct ProgramRun {
  int exit_status = -1;  // -1 when the program did not end by exiting
  std::string output;    // everything written to standard output
};

// Starts program with arguments (argument 0 is added) in directory and waits
// for it. With remove_directory_first the directory is deleted after the
// child has entered it, so the child runs without a current directory.
ProgramRun run_program(const std::filesystem::path& program,
                       const std::vector<std::string>& arguments,
                       const std::filesystem::path& directory, bool remove_directory_first = false);

// The lines of text, without their line ends.
std::vector<std::string> split_lines(const std::string& text);

}  // namespace vellicor::test
