// cvellicor --draw FONT [-o PICTURE] [--grid | --marks] [--columns N]: a font
// drawn into a picture and a character list, with the command line that
// converts them back.
#pragma once

#include <string>

#include "console/command_line.hpp"

namespace vellicor::console {

// True when the command line asks for a drawing: one of its arguments is
// "--draw" or begins with "--draw=".
bool is_draw_command(const CommandLine& line);

// Draws and prints what was written and the command that converts it back;
// a refusal prints its message. Returns the exit status.
int run_draw_command(const CommandLine& line);

// The argument as a shell takes it back: unchanged when it holds only
// characters no shell treats specially, else quoted (single quotes on POSIX
// systems, double quotes on Windows).
std::string shell_word(const std::string& argument);

}  // namespace vellicor::console
