// The console's message table: one row per message, in the order of the enum.
#include "console/console_messages.hpp"

#include <cstddef>
#include <iterator>

namespace vellicor::console {
namespace {

struct ConsoleMessageRow {
  ConsoleMessage message;
  const char* text;
};

constexpr ConsoleMessageRow kConsoleMessages[] = {
    {ConsoleMessage::kErrorHeading, "Error:"},
    {ConsoleMessage::kUnexpectedOption, "Unexpected Option starting from here:"},
    {ConsoleMessage::kNoFileName, "No File Name Given Here:"},
    {ConsoleMessage::kLongOptionNeedsValue,
     "This option needs a value (one that begins with '-' goes after '=', as in --chars=-x):"},
    {ConsoleMessage::kLongOptionTakesNoValue, "This option takes no value:"},
    {ConsoleMessage::kLongOptionTwice, "This option is given twice:"},
    {ConsoleMessage::kCharsTwoSources,
     "Give the character list with --chars or --chars-file, not both:"},
    {ConsoleMessage::kCharsetWithList,
     "Give the characters with --charset or with a character list, not both:"},
    {ConsoleMessage::kGridWithRows,
     "A grid's rows are those of its cells: give --grid or --rows, not both:"},
    {ConsoleMessage::kGridWithMarks, "Give the layout with --grid or --marks, not both:"},
    {ConsoleMessage::kOnlyWithGrid, "This option goes with --grid only:"},
};

constexpr bool rows_follow_enum() {
  for (std::size_t index = 0; index < std::size(kConsoleMessages); ++index) {
    if (static_cast<std::size_t>(kConsoleMessages[index].message) != index) return false;
  }
  return true;
}
static_assert(rows_follow_enum(), "message rows must follow the ConsoleMessage enum order");
static_assert(std::size(kConsoleMessages) ==
                  static_cast<std::size_t>(ConsoleMessage::kOnlyWithGrid) + 1,
              "every console message needs a row");

}  // namespace

const char* console_message_text(ConsoleMessage message) {
  const auto index = static_cast<std::size_t>(message);
  if (index >= std::size(kConsoleMessages)) return kConsoleMessages[0].text;
  return kConsoleMessages[index].text;
}

}  // namespace vellicor::console
