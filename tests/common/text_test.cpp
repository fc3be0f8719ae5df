#include "common/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string text;
  std::string delimiter;
  Pieces pieces;
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, FollowsTheSplittingRule) {
  EXPECT_EQ(text::split(GetParam().text, GetParam().delimiter), GetParam().pieces);
}

// 運 is DF 5C and 質 is D9 7C in GBK: their trailing bytes are "\" and "|".
INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    testing::Values(SplitCase{"Empty", "", "|", {}},
                    SplitCase{"OnePiece", "A", "|", {"A"}},
                    SplitCase{"Two", "A|B", "|", {"A", "B"}},
                    SplitCase{"FinalDelimiterDropsEmptyPiece", "A|", "|", {"A"}},
                    SplitCase{"EmptyMiddleCounts", "A||B", "|", {"A", "", "B"}},
                    SplitCase{"LeadingDelimiter", "|A", "|", {"", "A"}},
                    SplitCase{"OnlyDelimiter", "|", "|", {""}},
                    SplitCase{"TwoFinalDelimiters", "A||", "|", {"A", ""}},
                    SplitCase{"TrailByteIsNotADelimiter", "D:\\質料|x", "|", {"D:\\質料", "x"}},
                    SplitCase{"CrLfLines", "a\r\nb\r\n", "\r\n", {"a", "b"}},
                    SplitCase{"MultiByteDelimiter", "a┊?┊b┊?┊", "┊?┊", {"a", "b"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(PathParts, TrailByteBackslashStaysInsideTheCharacter) {
  // D:\運動\錦.txt: 運 and 錦 both end in 0x5C.
  const std::string path = "D:\\運動\\錦.txt";
  EXPECT_EQ(text::fileNameOf(path), "錦.txt");
  EXPECT_EQ(text::directoryOf(path), "D:\\運動");
  EXPECT_EQ(text::fileNameOf("運"), "運");
  EXPECT_EQ(text::directoryOf("運"), "");
  EXPECT_EQ(text::fileNameOf("a.txt"), "a.txt");
  EXPECT_EQ(text::directoryOf("D:\\a.txt"), "D:");
}

TEST(Find, StepsOverDoubleByteCharacters) {
  EXPECT_EQ(text::find("億|", "|"), 2u);  // 億 is 83 7C
  EXPECT_EQ(text::find("億", "|"), text::npos);
  EXPECT_EQ(text::findLast("a|b|億", "|"), 3u);
  EXPECT_EQ(text::find("abc", ""), text::npos);
}

TEST(Replace, NoCaseMatchesAsciiLettersOnly) {
  EXPECT_EQ(text::replaceAllNoCase("<Ab>x<aB>", "<ab>", "1"), "1x1");
  EXPECT_EQ(text::replaceAll("運\\", "\\", "/"), "運/");
  EXPECT_EQ(text::replaceAll("a┊*┊b", "┊*┊", "\r\n"), "a\r\nb");
}

}  // namespace
