// The program's resources as Windows loads them: icon sizes, pictures,
// manifest and version texts (GBK through the A functions).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "win32/unique_handle.h"

namespace {

HINSTANCE self() { return GetModuleHandleA(nullptr); }

struct IconFacts {
  bool loaded = false;
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  bool hasTransparentCorner = false;
  bool hasOpaqueCentre = false;
};

// Loads the icon at one size and reads back its colour bitmap as 32-bit pixels.
IconFacts loadIcon(int size) {
  IconFacts facts;
  UniqueIcon icon(static_cast<HICON>(
      LoadImageA(self(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
  if (!icon) return facts;
  facts.loaded = true;
  ICONINFO info;
  std::memset(&info, 0xcc, sizeof info);
  if (!GetIconInfo(icon.get(), &info)) return facts;
  UniqueGdiObject colour(info.hbmColor);
  UniqueGdiObject mask(info.hbmMask);
  BITMAP bitmap;
  std::memset(&bitmap, 0xcc, sizeof bitmap);
  GetObjectA(colour.get(), sizeof bitmap, &bitmap);
  facts.width = bitmap.bmWidth;
  facts.height = bitmap.bmHeight;
  facts.bitsPerPixel = bitmap.bmBitsPixel;

  BITMAPINFO request = {};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = size;
  request.bmiHeader.biHeight = -size;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(static_cast<std::size_t>(size * size), 0xcccccccc);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, static_cast<HBITMAP>(colour.get()), 0, size, pixels.data(), &request,
            DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  facts.hasTransparentCorner = (pixels[0] >> 24) == 0;
  facts.hasOpaqueCentre = (pixels[static_cast<std::size_t>(size * size / 2 + size / 2)] >> 24) == 0xff;
  return facts;
}

class ProgramIcon : public testing::TestWithParam<int> {};

TEST_P(ProgramIcon, LoadsAtItsOwnSizeIn32BitsWithAlpha) {
  const int size = GetParam();
  const IconFacts facts = loadIcon(size);
  ASSERT_TRUE(facts.loaded);
  EXPECT_EQ(facts.width, size);
  EXPECT_EQ(facts.height, size);
  EXPECT_EQ(facts.bitsPerPixel, 32);
  EXPECT_TRUE(facts.hasTransparentCorner);
  EXPECT_TRUE(facts.hasOpaqueCentre);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgramIcon, testing::Values(16, 32));

TEST(ProgramIcon, IsTheFirstIconOfTheFile) {
  // What Explorer shows for the program: the first icon group it finds.
  char path[MAX_PATH * 4] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  HICON large = nullptr;
  HICON small = nullptr;
  EXPECT_EQ(ExtractIconExA(path, -1, nullptr, nullptr, 0), 1u);
  ASSERT_EQ(ExtractIconExA(path, 0, &large, &small, 1), 2u);
  UniqueIcon ownLarge(large);
  UniqueIcon ownSmall(small);
  EXPECT_TRUE(ownLarge);
  EXPECT_TRUE(ownSmall);
}

struct PictureCase {
  const char* name;
  int id;
  int width;
  int height;
};

class Picture : public testing::TestWithParam<PictureCase> {};

TEST_P(Picture, LoadsAtItsSize) {
  UniqueGdiObject bitmap(LoadImageA(self(), MAKEINTRESOURCEA(GetParam().id), IMAGE_BITMAP, 0, 0,
                                    LR_CREATEDIBSECTION));
  ASSERT_TRUE(bitmap);
  BITMAP facts;
  std::memset(&facts, 0xcc, sizeof facts);
  ASSERT_NE(GetObjectA(bitmap.get(), sizeof facts, &facts), 0);
  EXPECT_EQ(facts.bmWidth, GetParam().width);
  EXPECT_EQ(facts.bmHeight, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Pictures, Picture,
                         testing::Values(PictureCase{"banner", IDB_BANNER, 1104, 90},
                                         PictureCase{"help", IDB_HELP, 64, 64}),
                         [](const testing::TestParamInfo<PictureCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(Manifest, AsksForCommonControls6AndTheUsersOwnRights) {
  HRSRC found = FindResourceA(self(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(found, nullptr);
  HGLOBAL loaded = LoadResource(self(), found);
  ASSERT_NE(loaded, nullptr);
  const std::string manifest(static_cast<const char*>(LockResource(loaded)),
                             SizeofResource(self(), found));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

TEST(Manifest, GivesTheProcessCommonControls6) {
  // With the manifest, a load of comctl32 by name goes through the process's
  // activation context to the side-by-side version 6 (Wine's reports 5.81
  // from DllGetVersion, so its place tells, not its number).
  HMODULE comctl = LoadLibraryA("comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  char path[MAX_PATH * 4] = {};
  GetModuleFileNameA(comctl, path, sizeof path);
  std::string lower = path;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(lower.find("\\winsxs\\"), std::string::npos) << path;
  EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos)
      << path;
  FreeLibrary(comctl);
}

class VersionInfo : public testing::Test {
 protected:
  void SetUp() override {
    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    block_.assign(size, '\xcc');
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block_.data()));
  }
  std::string text(const char* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\080403a8\\") + name;
    if (!VerQueryValueA(block_.data(), query.c_str(), &value, &length) || !value) return "<none>";
    return std::string(static_cast<const char*>(value));
  }
  std::vector<char> block_;
};

TEST_F(VersionInfo, NumbersAre1001) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block_.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
  EXPECT_EQ(text("FileVersion"), "1.0.0.1");
  EXPECT_EQ(text("ProductVersion"), "1.0.0.1");
}

TEST_F(VersionInfo, TextsAreChineseInCodePage936) {
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block_.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, sizeof(Translation));
  EXPECT_EQ(translation->language, 0x0804);
  EXPECT_EQ(translation->codePage, 936);
  // 禾岚·栖卷 in GBK.
  EXPECT_EQ(text("ProductName"), "\xBA\xCC\xE1\xB0\xA1\xA4\xC6\xDC\xBE\xED");
  EXPECT_EQ(text("ProductName"), "禾岚·栖卷");
  EXPECT_EQ(text("OriginalFilename"), "qijuan.exe");
}

}  // namespace
