// cvellicor: one picture of glyphs to one BDF font, driven from the command line.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

#include <string>
#include <vector>

#include "console/command_line.hpp"
#include "console/console_messages.hpp"
#include "console/draw_command.hpp"
#include "console/field_provider.hpp"
#include "console/glyph_listing.hpp"
#include "console/interrupt_cleanup.hpp"
#include "console/list_file_guard.hpp"
#include "console/long_options.hpp"
#include "console/usage.hpp"
#include "driver/chars_file.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/messages.hpp"

namespace {

constexpr int kSuccessStatus = 0;
constexpr int kFailureStatus = 1;

using vellicor::console::ConsoleMessage;
using vellicor::console::ShapeProblem;

// Prints a command-line error as its three lines, then the usage.
void print_shape_error(const char* message, const char* shown) {
  vellicor::console::print_line(
      vellicor::console::console_message_text(ConsoleMessage::kErrorHeading));
  vellicor::console::print_line(message);
  vellicor::console::print_line(shown);
  vellicor::console::print_usage();
}

void print_shape_error(ConsoleMessage message, const char* shown) {
  print_shape_error(vellicor::console::console_message_text(message), shown);
}

// The status of a command line whose shape is wrong, or -1 when it is right.
int shape_status_of(const vellicor::console::CommandLine& line) {
  const vellicor::console::ShapeCheck shape = vellicor::console::check_shape(line);
  switch (shape.problem) {
    case ShapeProblem::kNone:
      return -1;
    case ShapeProblem::kNoArguments:
      vellicor::console::print_banner();
      return kFailureStatus;
    case ShapeProblem::kNotAnOption:
    case ShapeProblem::kUnknownOption:
      print_shape_error(ConsoleMessage::kUnexpectedOption, shape.shown);
      return kFailureStatus;
    case ShapeProblem::kMissingFileName:
      print_shape_error(ConsoleMessage::kNoFileName, shape.shown);
      return kFailureStatus;
  }
  return kFailureStatus;
}

// A failure the driver reports ends the process inside report_message; one
// it cannot report (no converter could be made) still must not look like
// success.
int status_of(vellicor::ResultCode result) {
  return vellicor::succeeded(result) ? kSuccessStatus : kFailureStatus;
}

// Prints a refusal of the character list that needs no usage, as the
// conversion prints its own, and gives the failure status.
int refuse_list(const std::string& text) {
  vellicor::console::print_line(text.c_str());
  return kFailureStatus;
}

// Reads the --chars-file list into text; a refusal is printed and its status
// returned, else -1.
int read_list_file(const char* path, std::string& text) {
  vellicor::CharsFileRefusal refusal;
  if (vellicor::succeeded(vellicor::read_chars_file(path, text, refusal))) return -1;
  if (refusal.message != vellicor::Message::kCharsFileUnreadable) {
    return refuse_list(vellicor::chars_file_refusal_text(refusal));
  }
  print_shape_error(vellicor::message_text(refusal.message), path);
  return kFailureStatus;
}

// The program with long options: the extended conversion or the listing.
int run_with_long_options(const vellicor::console::CommandLine& line) {
  vellicor::console::LongOptions options;
  std::vector<char*> rest;
  const vellicor::console::LongOptionScan scan =
      vellicor::console::scan_command_line(line, options, rest);
  if (!scan.ok) {
    print_shape_error(scan.problem, scan.shown);
    return kFailureStatus;
  }
  if (options.help) {
    vellicor::console::print_help();
    return kSuccessStatus;
  }
  if (options.version) {
    vellicor::console::print_version();
    return kSuccessStatus;
  }

  vellicor::console::ExtendedCommandLine request;
  request.line = {static_cast<int>(rest.size()), rest.data()};
  std::string file_chars;
  vellicor::console::take_long_options(options, request);
  if (options.chars_file != nullptr) {
    const int list_status = read_list_file(options.chars_file, file_chars);
    if (list_status >= 0) return list_status;
    // The listing writes nothing, so only a conversion could replace the list.
    if (!options.list && vellicor::console::font_would_replace(request, options.chars_file)) {
      print_shape_error(vellicor::message_text(vellicor::Message::kOutputIsCharsFile),
                        options.chars_file);
      return kFailureStatus;
    }
    request.chars = file_chars.c_str();
  }

  if (options.list) {
    vellicor::console::ListingStyle style = vellicor::console::listing_style_of(request);
    return status_of(vellicor::run_listing(&vellicor::console::extended_console_callbacks(),
                                           &request, &vellicor::console::print_glyph_line, &style));
  }
  return status_of(
      vellicor::run_conversion(&vellicor::console::extended_console_callbacks(), &request));
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Messages end in "\n" alone, as on every other system, so scripts that
  // read them see the same bytes; text mode would add a carriage return.
  static_cast<void>(_setmode(_fileno(stdout), _O_BINARY));
#endif
  vellicor::console::install_interrupt_cleanup();
  vellicor::console::CommandLine line{argc, argv};
  if (vellicor::console::is_draw_command(line)) return vellicor::console::run_draw_command(line);
  for (int index = 1; index < argc; ++index) {
    if (vellicor::console::is_long_option(argv[index])) return run_with_long_options(line);
  }
  const int shape_status = shape_status_of(line);
  if (shape_status >= 0) return shape_status;
  return status_of(vellicor::run_conversion(&vellicor::console::console_callbacks(), &line));
}
