// The drawing run of cvellicor: its own small command line, read left to
// right like the conversion's, then the drawing and its report.
#include "console/draw_command.hpp"

#include <cstdint>
#include <cstring>
#include <string>

#include "console/console_messages.hpp"
#include "console/usage.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/messages.hpp"
#include "vellicor/internal/font_drawing_job.hpp"

namespace vellicor::console {
namespace {

constexpr int kSuccessStatus = 0;
constexpr int kFailureStatus = 1;
constexpr std::uint32_t kMostColumns = 65536;

struct DrawOptions {
  const char* font = nullptr;
  const char* picture = nullptr;
  const char* columns = nullptr;
  bool grid = false;
  bool marks = false;
};

// Why the command line was refused: the message's text and the argument.
struct DrawLineProblem {
  const char* message = nullptr;
  const char* shown = nullptr;
};

int print_problem(const DrawLineProblem& problem) {
  print_line(console_message_text(ConsoleMessage::kErrorHeading));
  print_line(problem.message);
  print_line(problem.shown);
  print_usage();
  return kFailureStatus;
}

// The value after '=' of "--name=value", or null when argument is not that
// option with a value.
const char* value_after_equals(const char* argument, const char* name) {
  const std::size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0 || argument[length] != '=') return nullptr;
  return argument + length + 1;
}

// Takes the value of the option at index: after '=' or as the next argument
// when that does not begin with '-'. Null when there is none.
const char* take_value(const CommandLine& line, int& index, const char* name) {
  const char* inline_value = value_after_equals(line.arguments[index], name);
  if (inline_value != nullptr) return inline_value;
  if (index + 1 < line.count && line.arguments[index + 1][0] != '-') return line.arguments[++index];
  return nullptr;
}

bool read_options(const CommandLine& line, DrawOptions& options, DrawLineProblem& problem) {
  auto refuse = [&problem](ConsoleMessage message, const char* shown) {
    problem.message = console_message_text(message);
    problem.shown = shown;
    return false;
  };
  for (int index = 1; index < line.count; ++index) {
    const char* argument = line.arguments[index];
    const char** slot = nullptr;
    const char* name = nullptr;
    if (std::strcmp(argument, "--draw") == 0 || value_after_equals(argument, "--draw") != nullptr) {
      slot = &options.font;
      name = "--draw";
    } else if (std::strcmp(argument, "--columns") == 0 ||
               value_after_equals(argument, "--columns") != nullptr) {
      slot = &options.columns;
      name = "--columns";
    } else if ((argument[0] == '-' && (argument[1] == 'o' || argument[1] == 'O'))) {
      // As in the conversion, only the letter after the dash counts.
      if (options.picture != nullptr) return refuse(ConsoleMessage::kLongOptionTwice, argument);
      if (index + 1 >= line.count || line.arguments[index + 1][0] == '-') {
        return refuse(ConsoleMessage::kLongOptionNeedsValue, argument);
      }
      options.picture = line.arguments[++index];
      continue;
    } else if (std::strcmp(argument, "--grid") == 0 || std::strcmp(argument, "--marks") == 0) {
      bool& flag = argument[2] == 'g' ? options.grid : options.marks;
      if (flag) return refuse(ConsoleMessage::kLongOptionTwice, argument);
      flag = true;
      continue;
    } else if (value_after_equals(argument, "--grid") != nullptr ||
               value_after_equals(argument, "--marks") != nullptr) {
      return refuse(ConsoleMessage::kLongOptionTakesNoValue, argument);
    } else {
      return refuse(ConsoleMessage::kUnexpectedOption, argument);
    }
    if (*slot != nullptr) return refuse(ConsoleMessage::kLongOptionTwice, argument);
    const int at = index;
    *slot = take_value(line, index, name);
    if (*slot == nullptr) return refuse(ConsoleMessage::kLongOptionNeedsValue, line.arguments[at]);
  }
  if (options.grid && options.marks) {
    return refuse(ConsoleMessage::kGridWithMarks, "--marks");
  }
  return true;
}

bool is_plain_character(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::strchr("-_./,:=+%@", c) != nullptr;
}

std::string joined_command(const FontDrawingOutcome& outcome) {
  std::string command = "cvellicor";
  for (const std::string& argument : outcome.arguments) command += " " + shell_word(argument);
  return command + " " + shell_word(outcome.picture_path);
}

void print_outcome(const FontDrawingOutcome& outcome) {
  std::string drew = "Drew " + std::to_string(outcome.glyphs) +
                     (outcome.glyphs == 1 ? " glyph" : " glyphs") + " as a " +
                     (outcome.layout == "marks" ? std::string("marked strip") : outcome.layout) +
                     " into " + outcome.picture_path;
  if (!outcome.list_path.empty()) drew += ", their characters into " + outcome.list_path;
  print_line(drew.c_str());
  print_line("Convert it back with:");
  print_line(("  " + joined_command(outcome)).c_str());
  if (outcome.lost.empty()) return;
  print_line("The picture does not carry:");
  for (const std::string& sentence : outcome.lost) print_line(("  " + sentence).c_str());
}

}  // namespace

bool is_draw_command(const CommandLine& line) {
  for (int index = 1; index < line.count; ++index) {
    if (std::strcmp(line.arguments[index], "--draw") == 0 ||
        value_after_equals(line.arguments[index], "--draw") != nullptr) {
      return true;
    }
  }
  return false;
}

std::string shell_word(const std::string& argument) {
  bool plain = !argument.empty();
  for (const char c : argument) plain = plain && is_plain_character(c);
  if (plain) return argument;
#ifdef _WIN32
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
#else
  std::string quoted = "'";
  for (const char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
#endif
}

int run_draw_command(const CommandLine& line) {
  DrawOptions options;
  DrawLineProblem problem;
  if (!read_options(line, options, problem)) return print_problem(problem);

  FontDrawingRequest request;
  request.font_path = options.font;
  request.picture_path = options.picture;
  request.layout = options.grid    ? DrawLayoutChoice::kGrid
                   : options.marks ? DrawLayoutChoice::kMarks
                                   : DrawLayoutChoice::kAuto;
  if (options.columns != nullptr) {
    std::uint32_t columns = 0;
    if (failed(parse_number(options.columns, &columns)) || columns == 0 || columns > kMostColumns) {
      print_line(message_text(Message::kInvalidColumns));
      return kFailureStatus;
    }
    request.columns = columns;
  }

  FontDrawingOutcome outcome;
  ErrorDetail detail = ErrorDetail::kNone;
  if (failed(draw_font_file(request, outcome, &detail))) {
    if (detail == ErrorDetail::kFileAccess && !outcome.failed_path.empty()) {
      print_line(message_text(outcome.failed_writing ? Message::kPictureUnwritable
                                                     : Message::kFontFileUnreadable));
      print_line(outcome.failed_path.c_str());
    } else if (detail == ErrorDetail::kLayoutSettings && options.grid) {
      print_line(message_text(Message::kFontNotAGrid));
    } else {
      print_line(drawing_failure_text(detail, outcome.damaged_line).c_str());
    }
    return kFailureStatus;
  }
  print_outcome(outcome);
  return kSuccessStatus;
}

}  // namespace vellicor::console
