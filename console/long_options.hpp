// cvellicor's long options ("--chars TEXT", "--list", ...). They stand before
// the picture like the short options; a command line without one is handled
// exactly as it always was.
#pragma once

#include <vector>

#include "console/command_line.hpp"
#include "console/console_messages.hpp"

namespace vellicor::console {

struct LongOptions {
  bool help = false;
  bool version = false;
  bool list = false;
  const char* chars = nullptr;          // --chars TEXT
  const char* chars_file = nullptr;     // --chars-file FILE
  const char* blank_advance = nullptr;  // --blank-advance N
  const char* ink = nullptr;            // --ink RULE
};

struct LongOptionScan {
  bool ok = true;
  ConsoleMessage problem = ConsoleMessage::kUnexpectedOption;  // when not ok
  const char* shown = nullptr;                                 // the argument the problem is about
};

// True for an argument that names one of the long options: "--" and the
// option's name, alone or followed by '='. Any other argument that begins
// with "--" ("--", "--foo") is an ordinary argument, judged as the plain
// command line judges it.
bool is_long_option(const char* argument);

// Takes the long options and their values out of line, keeping every other
// argument in order in rest (program name first). A value follows its
// option as the next argument or after '=' ("--chars=abc").
LongOptionScan scan_long_options(const CommandLine& line, LongOptions& options,
                                 std::vector<char*>& rest);

}  // namespace vellicor::console
