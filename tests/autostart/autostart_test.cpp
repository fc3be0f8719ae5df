// The autostart value in the real registry of the Wine prefix. The value's
// name is a test name, never the program's, so a run leaves no start entry.
#include "win32/autostart_win.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "engine/autostart_data.h"
#include "win32/unique_handle.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kTestName[] = "QijuanTest.自启动";
const char kScratchKey[] = "Software\\QijuanTests";

// The value's raw bytes and type as the registry holds them.
struct RawValue {
  bool found = false;
  DWORD type = 0;
  std::string bytes;
};
RawValue rawValue(HKEY root, const std::string& name) {
  RawValue raw;
  UniqueRegKey key;
  if (RegOpenKeyExA(root, kRunKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return raw;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &raw.type, nullptr, &size) != ERROR_SUCCESS)
    return raw;
  std::string bytes(size, '\xcc');
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &raw.type,
                       reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS)
    return raw;
  raw.found = true;
  raw.bytes = bytes.substr(0, size);
  return raw;
}

void setRaw(HKEY root, const std::string& name, const std::string& data) {
  ASSERT_TRUE(writeRegistryText(root, kRunKey, name, data));
}

class Autostart : public testing::Test {
 protected:
  void SetUp() override { clear(); }
  void TearDown() override {
    clear();
    readOnly_.reset();
    unlock();
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
  }
  static void clear() {
    deleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, kTestName);
    deleteRegistryValue(HKEY_CURRENT_USER, kRunKey, kTestName);
  }

  // A root whose Run key the program may read but not write to, as
  // HKEY_LOCAL_MACHINE's is for a user without administrator rights: the
  // key's access list grants everyone reading only, so opening it to set a
  // value is refused with access denied.
  HKEY readOnlyRoot() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
    const std::string rootName = std::string(kScratchKey) + "\\Locked";
    UniqueRegKey run;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (rootName + "\\" + kRunKey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, run.put(), nullptr),
              ERROR_SUCCESS);
    EXPECT_TRUE(setAccess(run.get(), "D:P(A;;KR;;;WD)"));
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, rootName.c_str(), 0, KEY_READ, readOnly_.put()),
              ERROR_SUCCESS);
    return readOnly_.get();
  }

  // Gives the locked Run key its full access back so that it can be deleted.
  static void unlock() {
    UniqueRegKey run;
    const std::string name = std::string(kScratchKey) + "\\Locked\\" + kRunKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, name.c_str(), 0, WRITE_DAC, run.put()) == ERROR_SUCCESS)
      setAccess(run.get(), "D:P(A;;KA;;;WD)");
  }

  static bool setAccess(HKEY key, const char* sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr))
      return false;
    const LONG rc = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    return rc == ERROR_SUCCESS;
  }

  const std::string data_ = autostart::dataFor("C:\\Program Files\\禾岚 工具\\運\\禾岚·栖卷.exe");
  UniqueRegKey readOnly_;
};

TEST_F(Autostart, EnableWritesTheExactDataUnderTheMachineRoot) {
  AutostartValue value(kTestName);
  EXPECT_EQ(value.enable(data_), AutostartPlace::Machine);

  const RawValue raw = rawValue(HKEY_LOCAL_MACHINE, kTestName);
  ASSERT_TRUE(raw.found);
  EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
  // The GBK bytes of the quoted path, blank, quoted yes, and the terminator.
  EXPECT_EQ(raw.bytes, std::string("\"C:\\Program Files\\\xBA\xCC\xE1\xB0 \xB9\xA4\xBE\xDF\\\xDF\x5C\\"
                                   "\xBA\xCC\xE1\xB0\xA1\xA4\xC6\xDC\xBE\xED.exe\" \"yes\"") +
                           '\0');
  EXPECT_EQ(value.read(AutostartPlace::Machine), data_);
  EXPECT_EQ(value.read(AutostartPlace::User), "");
  EXPECT_FALSE(rawValue(HKEY_CURRENT_USER, kTestName).found);
}

TEST_F(Autostart, EnableCreatesAMissingRunKey) {
  UniqueRegKey machine;
  UniqueRegKey user;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QijuanTests\\Machine", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, machine.put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QijuanTests\\User", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, user.put(), nullptr),
            ERROR_SUCCESS);
  AutostartValue value(kTestName, {machine.get(), user.get()});
  EXPECT_EQ(value.read(AutostartPlace::Machine), "");
  EXPECT_EQ(value.enable(data_), AutostartPlace::Machine);
  EXPECT_EQ(rawValue(machine.get(), kTestName).bytes, data_ + '\0');
}

TEST_F(Autostart, DisableDeletesTheValueWhereverItIs) {
  setRaw(HKEY_LOCAL_MACHINE, kTestName, data_);
  setRaw(HKEY_CURRENT_USER, kTestName, data_);
  setRaw(HKEY_LOCAL_MACHINE, "QijuanTest.other", "keep");

  AutostartValue value(kTestName);
  EXPECT_TRUE(value.disable());
  EXPECT_FALSE(rawValue(HKEY_LOCAL_MACHINE, kTestName).found);
  EXPECT_FALSE(rawValue(HKEY_CURRENT_USER, kTestName).found);
  EXPECT_EQ(value.read(AutostartPlace::Machine), "");
  // Nothing else in the Run key is touched.
  EXPECT_EQ(rawValue(HKEY_LOCAL_MACHINE, "QijuanTest.other").bytes, std::string("keep") + '\0');
  deleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, "QijuanTest.other");

  // Deleting what is not there is no failure.
  EXPECT_TRUE(value.disable());
}

TEST_F(Autostart, SyncRewritesAStalePath) {
  setRaw(HKEY_LOCAL_MACHINE, kTestName, autostart::dataFor("D:\\旧目录\\禾岚·栖卷.exe"));
  AutostartValue value(kTestName);
  EXPECT_EQ(value.sync(data_), AutostartPlace::Machine);
  EXPECT_EQ(rawValue(HKEY_LOCAL_MACHINE, kTestName).bytes, data_ + '\0');
}

TEST_F(Autostart, SyncWritesAMissingValue) {
  AutostartValue value(kTestName);
  EXPECT_EQ(value.sync(data_), AutostartPlace::Machine);
  EXPECT_EQ(value.read(AutostartPlace::Machine), data_);
}

TEST_F(Autostart, SyncComparesBytewise) {
  // Differs in letter case only: still stale.
  setRaw(HKEY_LOCAL_MACHINE, kTestName, "\"C:\\PROGRAM FILES\\a.exe\" \"yes\"");
  AutostartValue value(kTestName);
  EXPECT_EQ(value.sync("\"C:\\Program Files\\a.exe\" \"yes\""), AutostartPlace::Machine);
  EXPECT_EQ(value.read(AutostartPlace::Machine), "\"C:\\Program Files\\a.exe\" \"yes\"");
}

TEST_F(Autostart, SyncKeepsAMatchingUserValueAndDropsAStaleMachineOne) {
  setRaw(HKEY_CURRENT_USER, kTestName, data_);
  setRaw(HKEY_LOCAL_MACHINE, kTestName, "\"D:\\old\\a.exe\" \"yes\"");
  AutostartValue value(kTestName);
  EXPECT_EQ(value.sync(data_), AutostartPlace::User);
  EXPECT_EQ(value.read(AutostartPlace::User), data_);
  EXPECT_FALSE(rawValue(HKEY_LOCAL_MACHINE, kTestName).found);
}

TEST_F(Autostart, FallsBackToTheUserRootWhenTheMachineRootRefuses) {
  AutostartValue value(kTestName, {readOnlyRoot(), HKEY_CURRENT_USER});
  ASSERT_FALSE(writeRegistryText(readOnly_.get(), kRunKey, "probe", "x"))
      << "the read-only root accepted a write: the fallback would go untested";

  EXPECT_EQ(value.enable(data_), AutostartPlace::User);
  EXPECT_EQ(rawValue(HKEY_CURRENT_USER, kTestName).bytes, data_ + '\0');
  EXPECT_EQ(value.read(AutostartPlace::Machine), "");

  // The sync finds it there and leaves it.
  EXPECT_EQ(value.sync(data_), AutostartPlace::User);
  // A stale fallback value is rewritten in the place that can take it.
  setRaw(HKEY_CURRENT_USER, kTestName, "\"D:\\old\\a.exe\" \"yes\"");
  EXPECT_EQ(value.sync(data_), AutostartPlace::User);
  EXPECT_EQ(value.read(AutostartPlace::User), data_);

  EXPECT_TRUE(value.disable());
  EXPECT_FALSE(rawValue(HKEY_CURRENT_USER, kTestName).found);
}

TEST_F(Autostart, EnableLeavesNoFallbackBehind) {
  setRaw(HKEY_CURRENT_USER, kTestName, data_);
  AutostartValue value(kTestName);
  EXPECT_EQ(value.enable(data_), AutostartPlace::Machine);
  EXPECT_FALSE(rawValue(HKEY_CURRENT_USER, kTestName).found);
}

TEST_F(Autostart, ReportsFailureWhenNoRootTakesTheValue) {
  HKEY root = readOnlyRoot();
  AutostartValue value(kTestName, {root, root});
  EXPECT_EQ(value.enable(data_), AutostartPlace::None);
  EXPECT_EQ(value.sync(data_), AutostartPlace::None);
}

TEST(RegistryText, ReadsLongValuesAndNothingForOtherTypes) {
  const std::string longData(40000, 'x');
  ASSERT_TRUE(writeRegistryText(HKEY_CURRENT_USER, "Software\\QijuanTests\\Text", "long", longData));
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\QijuanTests\\Text", "long"), longData);

  UniqueRegKey key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\QijuanTests\\Text", 0, KEY_SET_VALUE,
                          key.put()),
            ERROR_SUCCESS);
  const DWORD number = 7;
  RegSetValueExA(key.get(), "number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof number);
  // Stored without a terminator, as other writers may do.
  RegSetValueExA(key.get(), "bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\QijuanTests\\Text", "number"), "");
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\QijuanTests\\Text", "bare"), "abc");
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\QijuanTests\\Text", "missing"), "");
  EXPECT_EQ(readRegistryText(HKEY_CURRENT_USER, "Software\\QijuanTests\\NoSuchKey", "x"), "");
  RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey);
}

TEST(ProgramFilePath, IsTheRunningProgram) {
  const std::string path = programFilePath();
  char expected[4096] = {};
  GetModuleFileNameA(nullptr, expected, sizeof expected);
  EXPECT_EQ(path, expected);
  EXPECT_EQ(path.substr(path.size() - 19), "autostart_tests.exe");
}

}  // namespace
