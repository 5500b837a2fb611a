// cvellicor's long options ("--chars TEXT", "--list", ...). They stand before
// the picture among the short options; a command line without one is handled
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
  const char* rows = nullptr;           // --rows N
  const char* grid = nullptr;           // --grid WxH
  const char* grid_origin = nullptr;    // --grid-origin X,Y
  const char* grid_gap = nullptr;       // --grid-gap X,Y
  bool proportional = false;            // --proportional
  bool marks = false;                   // --marks
  const char* charset = nullptr;        // --charset NAME
  const char* format = nullptr;         // --format NAME
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

// Reads a command line that holds long options in one left-to-right walk,
// the walk check_shape makes of a plain one: the picture is the last
// argument, and every argument before it is a short option, a short option's
// value or a long option. An option takes the next argument as its value
// unless that argument begins with a dash, whichever kind of option it is; a
// long option's value may also follow '=' ("--chars=-x"). The short options
// and their values, in order, go to rest between the program name and the
// picture; the long options to options. A problem is the first one met, with
// the plain command line's messages for a misplaced argument or a missing
// picture. Options that do not go together are refused after the walk:
// --chars with --chars-file, --grid with --rows or --marks, --grid-origin,
// --grid-gap and --proportional without --grid, --charset with a list. With
// --help or --version the picture is not looked for.
LongOptionScan scan_command_line(const CommandLine& line, LongOptions& options,
                                 std::vector<char*>& rest);

}  // namespace vellicor::console
