// The settings text edited in place: the byte-exact cases, the queue of
// writes made from inside a write, and what happens when the file cannot be
// had or a change to it fails.
#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/settings/ini_scenarios.h"
#include "tests/settings/memory_host.h"

namespace {

const std::string kPath = "C:\\qj\\settings.ini";

class IniScenarioTest : public testing::TestWithParam<ini_scenarios::Scenario> {};

TEST_P(IniScenarioTest, FileHoldsExactBytes) {
  const ini_scenarios::Scenario& s = GetParam();
  MemoryHost host;
  if (s.fileExists) host.files[kPath] = s.start;
  ini_scenarios::run(s, host, kPath, [&] { return host.files[kPath]; });
}

INSTANTIATE_TEST_SUITE_P(Settings, IniScenarioTest, testing::ValuesIn(ini_scenarios::all()),
                         ini_scenarios::NameOf());

TEST(FindNextSection, OnlyLinesFromBracketToBracketBeforeALineBreak) {
  struct Case {
    const char* name;
    std::string document;
    std::size_t from, to, expected;
  };
  const std::size_t none = SettingsStore::kNotFound;
  const Case cases[] = {
      {"header line", "x\r\n[a]\r\ny", 0, 9, 3},
      {"header at the very start is not after a line break", "[a]\r\ny", 0, 6, none},
      {"header ending the text has no line break after it", "x\r\n[a]", 0, 6, none},
      {"line break starts at to", "x\r\n[a]\r\ny", 0, 1, none},
      {"close bracket after to", "x\r\n[a]\r\ny", 0, 4, none},
      {"close bracket at to", "x\r\n[a]\r\ny", 0, 5, 3},
      {"bracket line broken in two", "x\r\n[a\r\nb]\r\ny", 0, 12, none},
      {"broken line then a real one", "x\r\n[a\r\n[b]\r\ny", 0, 13, 7},
      {"search starts at from", "\r\n[a]\r\n[b]\r\n", 1, 12, 7},
      {"text after the bracket is no header", "x\r\n[a]b\r\ny", 0, 10, none},
  };
  for (const Case& c : cases) {
    MemoryHost host;
    host.files[kPath] = c.document;
    SettingsStore store(host);
    store.Open(kPath);
    EXPECT_EQ(store.FindNextSection(c.from, c.to), c.expected) << c.name;
  }
}

// A store on an empty file whose search rounds call `onRound` with the
// number of the round (counted from 1 for each store call that searches).
class ReentrantWriteTest : public testing::Test {
 protected:
  void SetUp() override {
    host.files[kPath] = "";
    ASSERT_TRUE(store.Open(kPath));
  }
  std::string file() { return host.files[kPath]; }

  MemoryHost host;
  SettingsStore store{host};
};

TEST_F(ReentrantWriteTest, WriteFromInsideAWriteIsQueuedAndAppliedInOrder) {
  std::vector<int> innerStatuses;
  std::string readMidway;
  host.onDispatch = [&] {
    // Round 2 of the outer write: the header is there, the key not yet.
    // Round 3: the key's line is there, its value still empty.
    if (host.dispatchCount == 2) {
      innerStatuses.push_back(store.WriteEntry("T", "X", "1"));
      innerStatuses.push_back(store.WriteEntry("T", "X", "2"));
      innerStatuses.push_back(store.WriteEntry("S", "K2", "w"));
    } else if (host.dispatchCount == 3) {
      readMidway = store.ReadEntry("S", "K", "<default>", true);
    }
  };
  EXPECT_EQ(store.WriteEntry("S", "K", "V"), SettingsStore::kWritten);
  EXPECT_EQ(innerStatuses, (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(readMidway, "<default>");
  EXPECT_EQ(store.document(), "[S]\r\nK2=w\r\nK=V\r\n[T]\r\nX=2");
  EXPECT_EQ(file(), store.document());
  host.onDispatch = nullptr;
  EXPECT_EQ(store.ProcessPendingWrites(), SettingsStore::kGivenUp) << "queue left behind";
}

TEST_F(ReentrantWriteTest, TypedWriteFromInsideAWriteIsFalseButArrives) {
  bool innerResult = true;
  host.onDispatch = [&] {
    if (host.dispatchCount == 1) {
      store.SetSection("A");
      innerResult = store.WriteNumber("n", 5);
    }
  };
  EXPECT_EQ(store.WriteEntry("S", "K", "V"), SettingsStore::kWritten);
  EXPECT_FALSE(innerResult);
  EXPECT_EQ(file(), "[S]\r\nK=V\r\n[A]\r\nn=5");
}

TEST_F(ReentrantWriteTest, HeaderLostTenTimesGivesUpWithTwoMessages) {
  host.files[kPath] = "x";
  ASSERT_TRUE(store.Open(kPath));
  // A handler that reloads the file on every round throws the appended
  // header away each time (and lets go of the file).
  host.onDispatch = [&] { store.LoadFile(kPath); };
  EXPECT_EQ(store.WriteEntry("S", "K", "V"), SettingsStore::kGivenUp);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "配置模块出现意外，可能导致无法正常保存！详情请咨询禾岚。");
  EXPECT_EQ(host.messages[0].title, "禾岚：");
  EXPECT_EQ(host.messages[0].kind, StoreMessageKind::kWarningSystemModal);
  EXPECT_EQ(host.messages[1].text, "x\r\n[S]");
  EXPECT_EQ(host.messages[1].title, "信息：");
  EXPECT_EQ(host.messages[1].kind, StoreMessageKind::kPlain);
  EXPECT_EQ(host.dispatchCount, 11);
  // The entry left the queue; the next write runs on its own.
  host.onDispatch = nullptr;
  EXPECT_EQ(store.WriteEntry("S", "K", "V"), SettingsStore::kWritten);
  EXPECT_EQ(store.document(), "x\r\n[S]\r\nK=V");
}

TEST(SettingsOpen, SecondStoreOnTheSameFileReadsButNeverWrites) {
  MemoryHost host;
  host.files[kPath] = "[S]\r\nK=1";
  SettingsStore first(host), second(host);
  ASSERT_TRUE(first.Open(kPath));
  EXPECT_FALSE(second.Open(kPath));
  EXPECT_EQ(second.ReadEntry("S", "K", "", true), "1");
  EXPECT_EQ(second.WriteEntry("S", "K", "2"), SettingsStore::kWritten);
  EXPECT_EQ(second.ReadEntry("S", "K", "", true), "2");
  second.SetSection("S");
  EXPECT_FALSE(second.WriteBytes("B", "bytes"));
  EXPECT_EQ(first.WriteEntry("S", "K", "3"), SettingsStore::kWritten);
  second.Close();
  EXPECT_EQ(host.files[kPath], "[S]\r\nK=3");
  EXPECT_EQ(host.files.count("C:\\qj\\inibin\\S-B.ibn"), 0u);
}

TEST(SettingsOpen, FileWhoseFolderIsMissingIsNotCreated) {
  MemoryHost host;
  SettingsStore store(host);
  EXPECT_FALSE(store.Open("C:\\gone\\settings.ini"));
  EXPECT_EQ(store.WriteEntry("S", "K", "V"), SettingsStore::kWritten);
  EXPECT_EQ(store.ReadEntry("S", "K", "", true), "V");
  EXPECT_TRUE(host.files.empty());
}

TEST(SettingsOpen, ReadOnlyFileStaysReadable) {
  MemoryHost host;
  host.files[kPath] = "[S]\r\nK=1";
  host.readOnly.insert(kPath);
  SettingsStore store(host);
  EXPECT_FALSE(store.Open(kPath));
  EXPECT_EQ(store.ReadEntry("S", "K", "", true), "1");
  store.WriteEntry("S", "K", "2");
  EXPECT_EQ(host.files[kPath], "[S]\r\nK=1");
}

TEST(SettingsOpen, CallsBeforeOpenWorkOnTheDocumentAlone) {
  MemoryHost host;
  SettingsStore store(host);
  store.SetSection("S");
  EXPECT_TRUE(store.WriteText("K", "V"));
  EXPECT_EQ(store.ReadText("K", ""), "V");
  EXPECT_FALSE(store.WriteBytes("B", "x"));
  EXPECT_EQ(store.ReadBytes("B", "d"), "d");
  EXPECT_TRUE(host.files.empty());
  // Open starts from the file, not from what was written before.
  EXPECT_TRUE(store.Open(kPath));
  EXPECT_EQ(store.document(), "");
}

TEST(SettingsFileChanges, FailedChangeIsMadeGoodByTheNextOne) {
  MemoryHost host;
  host.files[kPath] = "[S]\r\nA=1\r\nB=2";
  SettingsStore store(host);
  ASSERT_TRUE(store.Open(kPath));
  host.failingChanges = 1;
  store.WriteEntry("S", "B", "22");
  EXPECT_NE(host.files[kPath], store.document());
  // This change lies before the failed one: the file is rewritten from here.
  store.WriteEntry("S", "A", "11");
  EXPECT_EQ(host.files[kPath], "[S]\r\nA=11\r\nB=22");

  host.failingChanges = 1;
  store.WriteEntry("S", "A", "1");
  store.WriteEntry("S", "B", "2");
  EXPECT_EQ(host.files[kPath], "[S]\r\nA=1\r\nB=2");

  host.failingChanges = 1;
  store.WriteEntry("S", "A", "9");
  std::string last = store.document();
  store.Close();
  EXPECT_EQ(host.files[kPath], last) << "Close makes good what is still missing";
}

}  // namespace
