#include "common/command_line.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
  const char* name;
  std::string line;
  std::vector<std::string> args;
  bool autostart;
};

class CommandLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(CommandLineTest, SplitsAfterTheProgramPath) {
  auto args = command_line::arguments(GetParam().line);
  EXPECT_EQ(args, GetParam().args);
  EXPECT_EQ(command_line::startedByAutostart(args), GetParam().autostart);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineTest,
    testing::Values(
        LineCase{"NoArguments", "\"C:\\Tools\\qijuan.exe\"", {}, false},
        LineCase{"QuotedYes", "\"C:\\Program Files\\栖卷\\qijuan.exe\" \"yes\"", {"yes"}, true},
        LineCase{"PlainYes", "C:\\Tools\\qijuan.exe yes", {"yes"}, true},
        LineCase{"CaseMatters", "qijuan.exe Yes", {"Yes"}, false},
        LineCase{"YesSecond", "qijuan.exe no yes", {"no", "yes"}, false},
        LineCase{"QuoteEndsPlain", "qijuan.exe yes\"x\"", {"yes", "x"}, true},
        LineCase{"TabSeparates", "qijuan.exe\tyes", {"yes"}, true},
        LineCase{"YesWithSuffix", "qijuan.exe yess", {"yess"}, false}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

}  // namespace
