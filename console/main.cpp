// cvellicor: one BMP strip to one BDF font, driven from the command line.
#include "console/command_line.hpp"
#include "console/field_provider.hpp"
#include "console/usage.hpp"
#include "driver/conversion_driver.hpp"
#include "driver/messages.hpp"

namespace {

constexpr int kSuccessStatus = 0;
constexpr int kFailureStatus = 1;

using vellicor::Message;
using vellicor::console::ShapeProblem;

// Prints a command-line error as its three lines, then the usage.
void print_shape_error(Message message, const char* shown) {
  vellicor::console::print_line(vellicor::message_text(Message::kErrorHeading));
  vellicor::console::print_line(vellicor::message_text(message));
  vellicor::console::print_line(shown);
  vellicor::console::print_usage();
}

}  // namespace

int main(int argc, char** argv) {
  vellicor::console::CommandLine line{argc, argv};
  const vellicor::console::ShapeCheck shape = vellicor::console::check_shape(line);
  switch (shape.problem) {
    case ShapeProblem::kNone:
      break;
    case ShapeProblem::kNoArguments:
      vellicor::console::print_banner();
      return kFailureStatus;
    case ShapeProblem::kNotAnOption:
    case ShapeProblem::kUnknownOption:
      print_shape_error(Message::kUnexpectedOption, shape.shown);
      return kFailureStatus;
    case ShapeProblem::kMissingFileName:
      print_shape_error(Message::kNoFileName, shape.shown);
      return kFailureStatus;
  }
  // A failure the driver reports ends the process inside report_message; one
  // it cannot report (no converter could be made) still must not look like
  // success.
  const vellicor::ResultCode result =
      vellicor::run_conversion(&vellicor::console::console_callbacks(), &line);
  return vellicor::succeeded(result) ? kSuccessStatus : kFailureStatus;
}
