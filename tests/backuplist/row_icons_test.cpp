#include "backuplist/row_icons.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using row_icons::kSize;

std::uint32_t alphaOf(std::uint32_t argb) { return argb >> 24; }
int red(std::uint32_t argb) { return (argb >> 16) & 0xFF; }
int green(std::uint32_t argb) { return (argb >> 8) & 0xFF; }
int blue(std::uint32_t argb) { return argb & 0xFF; }

TEST(RowIconsTest, TheRedIconIsTheOrdinaryOneInRed) {
  const std::vector<std::uint32_t> ordinary = row_icons::paint(row_icons::kOrdinary);
  const std::vector<std::uint32_t> recent = row_icons::paint(row_icons::kRecentBackup);
  ASSERT_EQ(ordinary.size(), static_cast<size_t>(kSize * kSize));
  ASSERT_EQ(recent.size(), ordinary.size());

  int opaque = 0, transparent = 0, stronglyRed = 0;
  for (size_t i = 0; i < ordinary.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "pixel " << i % kSize << "," << i / kSize);
    ASSERT_EQ(alphaOf(recent[i]), alphaOf(ordinary[i])) << "same shape";
    if (alphaOf(ordinary[i]) == 0) {
      ++transparent;
      continue;
    }
    if (alphaOf(ordinary[i]) == 0xFF) ++opaque;
    EXPECT_LE(red(ordinary[i]), blue(ordinary[i])) << "no red in the ordinary icon";
    EXPECT_GE(red(recent[i]), green(recent[i]));
    EXPECT_GE(red(recent[i]), blue(recent[i]));
    if (red(recent[i]) - std::max(green(recent[i]), blue(recent[i])) > 100) ++stronglyRed;
  }
  EXPECT_GT(opaque, kSize * kSize / 3);
  EXPECT_GT(transparent, 0) << "the corners show the row behind";
  EXPECT_GT(stronglyRed, 20);
}

class RowImageListTest : public testing::TestWithParam<row_icons::Image> {};

// Drawn from the image list onto white, every opaque pixel keeps its colour
// (so the channels are in DIB order) and every clear one leaves the white.
TEST_P(RowImageListTest, DrawsThePaintedPixels) {
  UniqueImageList list = row_icons::makeImageList();
  ASSERT_TRUE(list);
  ASSERT_EQ(ImageList_GetImageCount(list.get()), 2);
  int width = 0, height = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list.get(), &width, &height));
  EXPECT_EQ(width, kSize);
  EXPECT_EQ(height, kSize);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(target && bits);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::fill(pixels, pixels + kSize * kSize, 0xFFFFFFFF);

  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  HGDIOBJ old = SelectObject(dc, target.get());
  EXPECT_TRUE(ImageList_Draw(list.get(), GetParam(), dc, 0, 0, ILD_NORMAL));
  GdiFlush();
  SelectObject(dc, old);
  DeleteDC(dc);

  const std::vector<std::uint32_t> painted = row_icons::paint(GetParam());
  for (int i = 0; i < kSize * kSize; ++i) {
    SCOPED_TRACE(testing::Message() << "pixel " << i % kSize << "," << i / kSize);
    const std::uint32_t drawn = pixels[i] & 0xFFFFFF;
    if (alphaOf(painted[i]) == 0xFF) {
      ASSERT_EQ(drawn, painted[i] & 0xFFFFFF);
    } else if (alphaOf(painted[i]) == 0) {
      ASSERT_EQ(drawn, 0xFFFFFFu);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Images, RowImageListTest,
                         testing::Values(row_icons::kOrdinary, row_icons::kRecentBackup),
                         [](const testing::TestParamInfo<row_icons::Image>& info) {
                           return std::string(info.param == row_icons::kOrdinary ? "Ordinary"
                                                                                 : "Red");
                         });

}  // namespace
