#pragma once
// Byte-exact cases of the settings text: a starting file, the writes and
// reads made on it, and the file that must come out. Shared by the tests on
// the in-memory host and those on the real file system.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace ini_scenarios {

// What a read returns when the key is missing.
inline const std::string kDefault = "<default>";

struct Step {
  enum Kind { kWrite, kRead, kReadEmptyAsValue } kind;
  std::string section;
  std::string key;
  std::string value;  // the value written, or the value the read must give
};

struct Scenario {
  const char* name;
  bool fileExists;
  std::string start;
  std::vector<Step> steps;
  std::string expected;
};

inline Step write(std::string s, std::string k, std::string v) {
  return {Step::kWrite, std::move(s), std::move(k), std::move(v)};
}
inline Step read(std::string s, std::string k, std::string v) {
  return {Step::kRead, std::move(s), std::move(k), std::move(v)};
}
inline Step readEmptyAsValue(std::string s, std::string k, std::string v) {
  return {Step::kReadEmptyAsValue, std::move(s), std::move(k), std::move(v)};
}

inline const std::vector<Scenario>& all() {
  static const std::vector<Scenario> cases = {
      {"MissingFileFirstWrite", false, "", {write("S", "K", "V")}, "[S]\r\nK=V"},
      {"EmptyFileFirstWrite", true, "", {write("S", "K", "V"), read("S", "K", "V")}, "[S]\r\nK=V"},
      {"SecondKeyLandsAboveFirst", true, "",
       {write("S", "K", "V"), write("S", "K2", "V2")}, "[S]\r\nK2=V2\r\nK=V"},
      {"NewSectionsGoToTheEnd", true, "",
       {write("S1", "k1", "a"), write("S1", "k2", "b"), write("S2", "k3", "c")},
       "[S1]\r\nk2=b\r\nk1=a\r\n[S2]\r\nk3=c"},
      {"LongerAndShorterRewrites", true, "[S]\r\nK=abc\r\n[T]\r\nX=1",
       {write("S", "K", "abcdefgh"), write("T", "X", "1234"), write("S", "K", "")},
       "[S]\r\nK=\r\n[T]\r\nX=1234"},
      {"KeyOnlyInLaterSection", true, "[S]\r\nA=1\r\n[T]\r\nK=9",
       {read("S", "K", kDefault), write("S", "K", "2"), read("T", "K", "9")},
       "[S]\r\nK=2\r\nA=1\r\n[T]\r\nK=9"},
      {"HeaderInsideALineIsNoHeader", true, "x=[S]\r\nK=1",
       {read("S", "K", kDefault), write("S", "K", "2"), read("S", "K", "2")},
       "x=[S]\r\nK=1\r\n[S]\r\nK=2"},
      {"HeaderNotAtLineStartIsPassedOver", true, "a[S]\r\n[S]\r\nK=1",
       {read("S", "K", "1"), write("S", "K", "2")}, "a[S]\r\n[S]\r\nK=2"},
      {"KeysMatchWithTheirEquals", true, "[S]\r\nKey=1\r\nK =2\r\nk=3",
       {read("S", "K", kDefault), write("S", "K", "4"), read("S", "Key", "1"),
        read("S", "K ", "2"), read("S", "k", "3"), read("S", "K", "4")},
       "[S]\r\nK=4\r\nKey=1\r\nK =2\r\nk=3"},
      {"SectionNamesAreCaseSensitive", true, "[s]\r\nK=1",
       {read("S", "K", kDefault), write("S", "K", "2")}, "[s]\r\nK=1\r\n[S]\r\nK=2"},
      {"EmptyValueReadsAsMissing", true, "[S]\r\nK=\r\nE=",
       {read("S", "K", kDefault), readEmptyAsValue("S", "K", ""), write("S", "K", "5")},
       "[S]\r\nK=5\r\nE="},
      {"ValueStopsAtZeroByte", true, std::string("[S]\r\nK=a\0b", 10),
       {read("S", "K", "a")}, std::string("[S]\r\nK=a\0b", 10)},
      {"ValueMayHoldEqualsAndBrackets", true, "[S]\r\nK=a=[b]",
       {read("S", "K", "a=[b]"), write("S", "K", "[T]")}, "[S]\r\nK=[T]"},
      {"TrailingLineBreakBlankAndCommentLines", true,
       "; note\r\n\r\n[S]\r\n\r\n;K=0\r\nK=1\r\n",
       {write("S", "K", "22"), write("T", "X", "1")},
       "; note\r\n\r\n[S]\r\n\r\n;K=0\r\nK=22\r\n\r\n[T]\r\nX=1"},
      {"TwoHeadersOfOneName", true, "[S]\r\nA=1\r\n[S]\r\nK=2",
       {read("S", "K", kDefault), write("S", "K", "3"), read("S", "A", "1"),
        write("S", "A", "4")},
       "[S]\r\nK=3\r\nA=4\r\n[S]\r\nK=2"},
      {"TextAfterHeaderStaysOnItsLine", true, "[S] ; main\r\nA=1\r\n[T]x",
       {write("S", "K", "2"), write("T", "K", "3"), read("S", "A", "1")},
       "[S] ; main\r\nK=2\r\nA=1\r\n[T]x\r\nK=3"},
      {"LineOfBracketWithoutCloseIsNoHeader", true, "[S]\r\n[T\r\nK=1",
       {read("S", "K", "1")}, "[S]\r\n[T\r\nK=1"},
      {"HeaderThatEndsTheFile", true, "[S]\r\nA=1\r\n[T]",
       {write("T", "K", "1"), read("S", "K", kDefault)}, "[S]\r\nA=1\r\n[T]\r\nK=1"},
      {"GbkSectionKeyAndValue", true, "[主界面]\r\n开机启动=假",
       {read("主界面", "开机启动", "假"), write("主界面", "开机启动", "真"),
        write("主界面", "表项", "运|質")},
       "[主界面]\r\n表项=运|質\r\n开机启动=真"},
  };
  return cases;
}

inline std::ostream& operator<<(std::ostream& out, const Scenario& s) { return out << s.name; }

struct NameOf {
  std::string operator()(const testing::TestParamInfo<Scenario>& info) const {
    return info.param.name;
  }
};

// Runs one case on a store opened on `path`; `fileBytes` reads what the file
// holds. After every write the file must equal the document.
inline void run(const Scenario& s, SettingsHost& host, const std::string& path,
                const std::function<std::string()>& fileBytes) {
  SettingsStore store(host);
  ASSERT_TRUE(store.Open(path));
  EXPECT_EQ(store.document(), s.start);
  for (std::size_t i = 0; i < s.steps.size(); ++i) {
    const Step& step = s.steps[i];
    SCOPED_TRACE("step " + std::to_string(i) + " [" + step.section + "] " + step.key);
    if (step.kind == Step::kWrite) {
      EXPECT_EQ(store.WriteEntry(step.section, step.key, step.value), SettingsStore::kWritten);
      EXPECT_EQ(fileBytes(), store.document());
    } else {
      EXPECT_EQ(store.ReadEntry(step.section, step.key, kDefault, step.kind == Step::kRead),
                step.value);
    }
  }
  EXPECT_EQ(store.document(), s.expected);
  store.Close();
  EXPECT_EQ(fileBytes(), s.expected);
}

}  // namespace ini_scenarios
