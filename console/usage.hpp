// cvellicor's version line and usage text, and its one way of printing.
#pragma once

namespace vellicor::console {

// Writes text and a line break to standard output.
void print_line(const char* text);

// The 27 lines of the usage text.
void print_usage();
// The version line, then the usage.
void print_banner();
// The version line alone (--version).
void print_version();
// The usage, then the long options with a line or two on each (--help).
void print_help();

}  // namespace vellicor::console
