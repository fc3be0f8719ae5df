#include "common/number.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
  const char* name;
  std::string text;
  std::int32_t integer;
  double number;
};

class LeadingNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  EXPECT_EQ(number::leadingInteger(GetParam().text), GetParam().integer);
  EXPECT_DOUBLE_EQ(number::leadingNumber(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingNumberTest,
    testing::Values(NumberCase{"Plain", "12", 12, 12}, NumberCase{"Zero", "0", 0, 0},
                    NumberCase{"Letters", "abc", 0, 0}, NumberCase{"Empty", "", 0, 0},
                    NumberCase{"FullWidthDigits", "１２", 12, 12},
                    NumberCase{"FullWidthSignAndPoint", "－０．５", 0, -0.5},
                    NumberCase{"Fraction", "0.5", 0, 0.5},
                    NumberCase{"TrailingText", "7秒", 7, 7},
                    NumberCase{"Blanks", "  3", 3, 3}, NumberCase{"Negative", "-4", -4, -4},
                    NumberCase{"Hex", "0x10", 0, 0},
                    NumberCase{"Huge", "99999999999", 2147483647, 99999999999.0}),
    [](const testing::TestParamInfo<NumberCase>& info) { return std::string(info.param.name); });

}  // namespace
