// The texts only cvellicor prints: the lines of a command-line error.
#pragma once

namespace vellicor::console {

enum class ConsoleMessage {
  kErrorHeading,            // first line of a command-line error
  kUnexpectedOption,        // an option position holds something else
  kNoFileName,              // the last argument is no file name
  kLongOptionNeedsValue,    // a long option without its value
  kLongOptionTakesNoValue,  // "--list=..." and the like
  kLongOptionTwice,         // a long option given twice
  kCharsTwoSources,         // both --chars and --chars-file
  kCharsetWithList,         // --charset with --chars or --chars-file
  kGridWithRows,            // both --grid and --rows
  kGridWithMarks,           // both --grid and --marks
  kOnlyWithGrid,            // a grid's option without --grid
};

// The fixed English text of message; never null, never empty.
const char* console_message_text(ConsoleMessage message);

}  // namespace vellicor::console
