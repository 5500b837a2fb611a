// The texts of refusals that name what the report found: the ink rule that
// saw no ink or nothing but ink, and the height a descent must stay below.
#include <gtest/gtest.h>

#include "driver/messages.hpp"

namespace vellicor {
namespace {

TEST(FailureText, NamesTheInkRuleAndTheOthersToTry) {
  ConversionReport report{};
  report.ink_rule = VELLICOR_INK_BLACK;
  EXPECT_EQ(failure_text(ErrorDetail::kNoInk, report),
            "No pixel of the picture counts as ink under --ink black; try --ink dark, opaque or "
            "auto");
  report.ink_rule = VELLICOR_INK_OPAQUE;
  EXPECT_EQ(failure_text(ErrorDetail::kAllInk, report),
            "Every pixel of the picture counts as ink under --ink opaque; try --ink black, dark "
            "or auto");
  report.font_height = 9;
  EXPECT_EQ(failure_text(ErrorDetail::kDescentTooLarge, report),
            "The descent leaves no line above the baseline: it must be less than the font's "
            "height of 9 lines");
}

}  // namespace
}  // namespace vellicor
