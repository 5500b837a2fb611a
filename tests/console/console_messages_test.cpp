// The lines of cvellicor's command-line errors, as the usage documents them.
#include "console/console_messages.hpp"

#include <gtest/gtest.h>

namespace vellicor::console {
namespace {

TEST(ConsoleMessages, TextsAreExact) {
  EXPECT_STREQ(console_message_text(ConsoleMessage::kErrorHeading), "Error:");
  EXPECT_STREQ(console_message_text(ConsoleMessage::kUnexpectedOption),
               "Unexpected Option starting from here:");
  EXPECT_STREQ(console_message_text(ConsoleMessage::kNoFileName), "No File Name Given Here:");
  EXPECT_STREQ(console_message_text(ConsoleMessage::kLongOptionNeedsValue),
               "This option needs a value (one that begins with '-' goes after '=', as in "
               "--chars=-x):");
  EXPECT_STREQ(console_message_text(ConsoleMessage::kLongOptionTakesNoValue),
               "This option takes no value:");
  EXPECT_STREQ(console_message_text(ConsoleMessage::kLongOptionTwice),
               "This option is given twice:");
  EXPECT_STREQ(console_message_text(ConsoleMessage::kCharsTwoSources),
               "Give the character list with --chars or --chars-file, not both:");
}

}  // namespace
}  // namespace vellicor::console
