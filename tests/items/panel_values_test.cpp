#include "engine/panel_values.h"

#include <gtest/gtest.h>

namespace {

struct PanelCase {
  const char* name;
  std::string text;
  std::int32_t keepCount;
  float refreshSeconds;
};

class PanelValuesTest : public testing::TestWithParam<PanelCase> {};

TEST_P(PanelValuesTest, FollowTheBoxRules) {
  EXPECT_EQ(keepCountFromText(GetParam().text), GetParam().keepCount);
  EXPECT_EQ(refreshSecondsFromText(GetParam().text), GetParam().refreshSeconds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelValuesTest,
    testing::Values(PanelCase{"Zero", "0", 10, 5}, PanelCase{"Letters", "abc", 10, 5},
                    PanelCase{"FullWidth", "１２", 12, 12}, PanelCase{"Half", "0.5", 10, 5},
                    PanelCase{"One", "1", 1, 1},
                    // Held as 0.99999988 in a float: more than 1e-7 below 1.
                    PanelCase{"JustBelowOne", "0.9999999", 10, 5},
                    // The largest float below 1 is within 1e-7 of it and stays.
                    PanelCase{"LargestFloatBelowOne", "0.99999994", 10, 0.99999994f},
                    PanelCase{"Negative", "-3", 10, 5}, PanelCase{"Empty", "", 10, 5}),
    [](const testing::TestParamInfo<PanelCase>& info) { return std::string(info.param.name); });

TEST(PanelValues, IntervalShowsAsShortDecimalText) {
  EXPECT_EQ(refreshSecondsText(5), "5");
  EXPECT_EQ(refreshSecondsText(2.5f), "2.5");
  EXPECT_EQ(refreshSecondsText(0.1f), "0.1");
  EXPECT_EQ(refreshSecondsText(0.99999994f), "0.99999994");
}

}  // namespace
