// parse_number: decimal and "0x" texts, and what it refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "driver/conversion_driver.hpp"
#include "tests/support/param_label.hpp"

namespace vellicor {
namespace {

struct NumberCase {
  std::string text;
  bool accepted;
  std::uint32_t value;  // when accepted
};

void PrintTo(const NumberCase& row, std::ostream* out) {
  test::print_label(out, {"text", row.text});
}

class ParseNumberTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ParseNumberTable, ReadsOrRefusesTheText) {
  const NumberCase& row = GetParam();
  constexpr std::uint32_t kUntouched = 0xDEADBEEF;
  std::uint32_t number = kUntouched;
  const ResultCode result = parse_number(row.text.c_str(), &number);
  if (row.accepted) {
    EXPECT_EQ(result, ResultCode::kOk);
    EXPECT_EQ(number, row.value);
  } else {
    EXPECT_EQ(result, ResultCode::kUnusableInput);
    EXPECT_EQ(number, kUntouched);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseNumberTable,
    ::testing::Values(
        NumberCase{"0", true, 0}, NumberCase{"255", true, 255}, NumberCase{"65536", true, 65536},
        NumberCase{"", true, 0}, NumberCase{"007", true, 7}, NumberCase{"0x1F", true, 31},
        NumberCase{"0x1f", true, 31}, NumberCase{"0X1F", true, 31},
        NumberCase{"0xAbCd", true, 0xABCD}, NumberCase{"0x", true, 0},
        NumberCase{"4294967295", true, 4294967295u}, NumberCase{"0xFFFFFFFF", true, 0xFFFFFFFFu},
        NumberCase{"0x00000000FF", true, 255}, NumberCase{"4294967296", false, 0},
        NumberCase{"99999999999", false, 0}, NumberCase{"0x100000000", false, 0},
        NumberCase{"-1", false, 0}, NumberCase{" 5", false, 0}, NumberCase{"5 ", false, 0},
        NumberCase{"1e3", false, 0}, NumberCase{"+5", false, 0}, NumberCase{"0x1G", false, 0},
        NumberCase{"0xx1", false, 0}, NumberCase{"x1", false, 0}, NumberCase{"12a", false, 0},
        NumberCase{"0b1", false, 0}));

TEST(ParseNumber, RefusesNullArguments) {
  std::uint32_t number = 0;
  EXPECT_EQ(parse_number(nullptr, &number), ResultCode::kUnusableInput);
  EXPECT_EQ(parse_number("1", nullptr), ResultCode::kUnusableInput);
}

}  // namespace
}  // namespace vellicor
