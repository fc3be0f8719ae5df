// Typed values: the text each type takes in the settings file and what a
// read gives back, side files of byte values, and a menu item's check mark.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/oledate.h"
#include "settings/settings_store.h"
#include "settings/value_forms.h"
#include "tests/settings/memory_host.h"

namespace {

const std::string kPath = "C:\\qj\\settings.ini";

double dateOf(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  oledate::CivilTime c;
  c.year = y, c.month = mo, c.day = d, c.hour = h, c.minute = mi, c.second = s;
  double out = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(oledate::toDate(c, out));
  return out;
}

// A store open on an empty settings file in section "S".
class TypedValueTest : public testing::Test {
 protected:
  void SetUp() override {
    host.files[kPath] = "";
    ASSERT_TRUE(store.Open(kPath));
    store.SetSection("S");
  }
  // Puts a raw value under S.
  void stored(const std::string& key, const std::string& value) {
    ASSERT_EQ(store.WriteEntry("S", key, value), SettingsStore::kWritten);
  }
  std::string raw(const std::string& key) { return store.ReadEntry("S", key, "<missing>", false); }

  MemoryHost host;
  SettingsStore store{host};
};

TEST(NumberForm, ThirteenSignificantDigits) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {10, "10"},          {0.1, "0.1"},         {1.0 / 3, "0.3333333333333"},
      {0.5, "0.5"},        {1e20, "1e+20"},      {-2.5, "-2.5"},
      {-7, "-7"},          {0, "0"},             {123456789012.5, "123456789012.5"},
      {1.23456789012345, "1.234567890123"},      {1234567890123456.0, "1.234567890123e+15"},
      {1e-5, "1e-05"},
  };
  for (const auto& c : cases) EXPECT_EQ(value_form::formatNumber(c.value), c.text) << c.text;
}

TEST(NumberForm, ReadAsAtofReads) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"abc", 0}, {"", 0}, {"12abc", 12}, {" 3.5", 3.5}, {"-1e3", -1000}, {"1,5", 1}, {".25", 0.25},
  };
  for (const auto& c : cases) EXPECT_EQ(value_form::parseNumber(c.text), c.value) << c.text;
}

TEST_F(TypedValueTest, NumbersAndTheirDefaults) {
  EXPECT_TRUE(store.WriteNumber("n", 10));
  EXPECT_EQ(raw("n"), "10");
  EXPECT_EQ(store.ReadNumber("n", 7), 10);
  stored("bad", "abc");
  EXPECT_EQ(store.ReadNumber("bad", 7), 0) << "a value that is no number is 0, not the default";
  stored("empty", "");
  EXPECT_EQ(store.ReadNumber("empty", 7), 7);
  // The default comes back as it would from the file: 13 digits.
  EXPECT_EQ(store.ReadNumber("missing", 1.23456789012345), 1.234567890123);
}

TEST(DateForm, WrittenForms) {
  const struct {
    double date;
    const char* text;
  } cases[] = {
      {dateOf(2016, 8, 31, 15, 6, 36), "2016年8月31日15时6分36秒"},
      {dateOf(2016, 8, 31, 15), "2016年8月31日15时"},
      {dateOf(2016, 8, 31), "2016年8月31日"},
      {dateOf(2016, 8, 31, 0, 6), "2016年8月31日0时6分"},
      {dateOf(2016, 8, 31, 0, 0, 9), "2016年8月31日0时0分9秒"},
      {0, "1899年12月30日"},
      {-1.25, "1899年12月29日6时"},
      {dateOf(2016, 8, 31, 15, 6, 36) + 0.4 / 86400, "2016年8月31日15时6分36秒"},
      {-1e9, "100年1月1日"},
      {1e9, "9999年12月31日23时59分59秒"},
      {std::numeric_limits<double>::quiet_NaN(), "100年1月1日"},
  };
  for (const auto& c : cases) EXPECT_EQ(value_form::formatDate(c.date), c.text) << c.text;
}

TEST(DateForm, ReadForms) {
  const struct {
    const char* text;
    bool valid;
    double date;
  } cases[] = {
      {"2016年8月31日15时6分36秒", true, dateOf(2016, 8, 31, 15, 6, 36)},
      {"2016年8月31日15时", true, dateOf(2016, 8, 31, 15)},
      {"2016年08月31日0时6分", true, dateOf(2016, 8, 31, 0, 6)},
      {"100年1月1日", true, oledate::kNoTime},
      {"2016-08-31 15:06:36", true, dateOf(2016, 8, 31, 15, 6, 36)},
      {"2016/8/31", true, dateOf(2016, 8, 31)},
      {"2016-8-31 15:06", true, dateOf(2016, 8, 31, 15, 6)},
      {"abc", false, 0},
      {"", false, 0},
      {"2016年2月30日", false, 0},
      {"2016年8月31日24时", false, 0},
      {"2016年8月31日6分", false, 0},
      {"2016年8月31日15时6分36秒x", false, 0},
      {"99年1月1日", false, 0},
      {"10000年1月1日", false, 0},
      {"2016-08/31", false, 0},
      {"99999999999年1月1日", false, 0},
  };
  for (const auto& c : cases) {
    double date = 12345;
    EXPECT_EQ(value_form::parseDate(c.text, date), c.valid) << c.text;
    if (c.valid) {
      EXPECT_DOUBLE_EQ(date, c.date) << c.text;
    }
  }
}

TEST_F(TypedValueTest, DatesAndTheirDefaults) {
  EXPECT_TRUE(store.WriteDate("d", dateOf(2016, 8, 31, 15, 6, 36)));
  EXPECT_EQ(raw("d"), "2016年8月31日15时6分36秒");
  EXPECT_DOUBLE_EQ(store.ReadDate("d", 0), dateOf(2016, 8, 31, 15, 6, 36));
  EXPECT_EQ(store.ReadDate("missing", 0), 0);
  // Fractions of a second do not survive the stored form, not even for a default.
  EXPECT_DOUBLE_EQ(store.ReadDate("missing", dateOf(2016, 8, 31) + 0.3 / 86400),
                   dateOf(2016, 8, 31));
  stored("bad", "昨天");
  EXPECT_EQ(store.ReadDate("bad", 0), oledate::kNoTime);
}

TEST_F(TypedValueTest, YesAndNo) {
  EXPECT_TRUE(store.WriteBool("y", true));
  EXPECT_TRUE(store.WriteBool("n", false));
  EXPECT_EQ(raw("y"), "真");
  EXPECT_EQ(raw("n"), "假");
  stored("one", "1");
  stored("yes", "yes");
  const struct {
    const char* key;
    bool defaultValue, read, readNotFalse;
  } cases[] = {
      {"y", false, true, true},       {"n", true, false, false},
      {"one", true, false, true},     {"yes", true, false, true},
      {"missing", true, true, true},  {"missing", false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(store.ReadBool(c.key, c.defaultValue), c.read) << c.key;
    EXPECT_EQ(store.ReadBoolNotFalse(c.key, c.defaultValue), c.readNotFalse) << c.key;
  }
}

TEST_F(TypedValueTest, TextKeepsLineBreaksAsMarks) {
  EXPECT_TRUE(store.WriteText("t", "a\r\nb"));
  EXPECT_EQ(raw("t"), "a\xA9\xAE*\xA9\xAE" "b");
  EXPECT_EQ(store.ReadText("t", ""), "a\r\nb");
  EXPECT_TRUE(store.WriteText("mark", "x┊*┊y"));
  EXPECT_EQ(store.ReadText("mark", ""), "x\r\ny");
  EXPECT_EQ(store.ReadText("missing", "d\r\ne"), "d\r\ne");
  // No line break survives into the file, not even behind a stray lead byte.
  EXPECT_TRUE(store.WriteText("lead", "\xB0\r\n\r\r\n"));
  EXPECT_EQ(raw("lead"), "\xB0┊*┊\r┊*┊");
  EXPECT_EQ(store.ReadText("lead", ""), "\xB0\r\n\r\r\n");
  EXPECT_EQ(host.files[kPath], store.document());
}

TEST_F(TypedValueTest, SectionHoldsUntilTheNextSetSection) {
  store.SetSection("A");
  store.WriteText("t", "1");
  store.WriteNumber("n", 2);
  store.WriteEntry("B", "raw", "3");
  EXPECT_EQ(store.currentSection(), "A");
  store.WriteBool("b", true);
  store.SetSection("C");
  store.WriteDate("d", 0);
  EXPECT_EQ(store.document(),
            "[A]\r\nb=真\r\nn=2\r\nt=1\r\n[B]\r\nraw=3\r\n[C]\r\nd=1899年12月30日");
}

TEST_F(TypedValueTest, BytesGoToSideFiles) {
  store.SetSection("主界面");
  const std::string bytes("row\r\n\0\xFF", 7);
  EXPECT_TRUE(store.WriteBytes("表项", bytes));
  const std::string side = "C:\\qj\\inibin\\主界面-表项.ibn";
  EXPECT_EQ(store.sideFilePath("表项"), side);
  EXPECT_EQ(host.files[side], bytes);
  EXPECT_EQ(store.ReadBytes("表项", "d"), bytes);
  EXPECT_EQ(store.document(), "") << "byte values stay out of the settings file";

  EXPECT_TRUE(store.WriteBytes("表项", ""));
  EXPECT_TRUE(host.files.count(side));
  EXPECT_EQ(store.ReadBytes("表项", "d"), "d") << "an empty side file reads as missing";
  EXPECT_EQ(store.ReadBytes("other", "d"), "d");
}

TEST(SideFiles, FolderThatCannotBeMadeFailsTheWrite) {
  MemoryHost host;
  host.readOnly.insert("C:\\qj\\inibin");
  SettingsStore store(host);
  ASSERT_TRUE(store.Open(kPath));
  store.SetSection("S");
  EXPECT_FALSE(store.WriteBytes("K", "x"));
}

TEST(SideFiles, BareFileNameKeepsThemInTheCurrentFolder) {
  MemoryHost host;
  SettingsStore store(host);
  store.Open("settings.ini");
  store.SetSection("S");
  EXPECT_EQ(store.sideFilePath("K"), "inibin\\S-K.ibn");
}

class FakeMenuItem : public MenuItem {
 public:
  FakeMenuItem(std::string caption, bool checked)
      : caption_(std::move(caption)), checked_(checked) {}
  std::string caption() const override { return caption_; }
  bool checked() const override { return checked_; }
  void setChecked(bool checked) override { checked_ = checked; }

 private:
  std::string caption_;
  bool checked_;
};

TEST(MenuChecked, FirstStartLeavesTheItemAsItWas) {
  MemoryHost host;
  SettingsStore store(host);
  store.Open(kPath);
  store.SetSection("主界面");
  for (bool initial : {false, true}) {
    FakeMenuItem item("开机启动", initial);
    EXPECT_EQ(store.LoadMenuChecked(item), initial);
    EXPECT_EQ(item.checked(), initial);
  }
  EXPECT_EQ(host.files[kPath], "");
}

TEST(MenuChecked, CaptionIsTheKey) {
  MemoryHost host;
  SettingsStore store(host);
  store.Open(kPath);
  store.SetSection("主界面");
  FakeMenuItem item("开机启动", true);
  EXPECT_TRUE(store.SaveMenuChecked(item));
  EXPECT_EQ(host.files[kPath], "[主界面]\r\n开机启动=真");
  item.setChecked(false);
  store.SaveMenuChecked(item);
  EXPECT_EQ(host.files[kPath], "[主界面]\r\n开机启动=假");

  FakeMenuItem twin("开机启动", true);
  EXPECT_FALSE(store.LoadMenuChecked(twin)) << "one caption, one entry";
  FakeMenuItem other("托盘", true);
  store.SaveMenuChecked(other);
  EXPECT_EQ(store.ReadEntry("主界面", "托盘", "", true), "真");

  store.WriteEntry("主界面", "开机启动", "是");
  EXPECT_FALSE(store.LoadMenuChecked(twin));
}

}  // namespace
