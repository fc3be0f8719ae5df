#include "win32/autostart_win.h"

#include <vector>

#include "engine/autostart_data.h"
#include "win32/unique_handle.h"

std::string readRegistryText(HKEY root, const std::string& key, const std::string& name) {
  UniqueRegKey opened;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.put()) != ERROR_SUCCESS)
    return std::string();
  // The value may grow between the size query and the read: ask again then.
  for (;;) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
      return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
    std::vector<char> data(size + 1, '\0');
    DWORD got = size;
    const LONG rc = RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) return std::string();
    std::string textValue(data.data(), got);
    // The stored size counts the terminator, when the writer put one.
    while (!textValue.empty() && textValue.back() == '\0') textValue.pop_back();
    return textValue;
  }
}

bool writeRegistryText(HKEY root, const std::string& key, const std::string& name,
                       const std::string& data) {
  UniqueRegKey opened;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.put(),
                      nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExA(opened.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool deleteRegistryValue(HKEY root, const std::string& key, const std::string& name) {
  UniqueRegKey opened;
  LONG rc = RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, opened.put());
  if (rc == ERROR_FILE_NOT_FOUND) return true;
  if (rc != ERROR_SUCCESS) {
    // A key the user may only read (HKEY_LOCAL_MACHINE's Run key without
    // administrator rights) holds nothing to delete when the value is absent.
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, opened.put()) != ERROR_SUCCESS)
      return false;
    return RegQueryValueExA(opened.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_FILE_NOT_FOUND;
  }
  rc = RegDeleteValueA(opened.get(), name.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

std::string programFilePath() {
  // GetModuleFileNameA cuts the path to the buffer and says so only by
  // filling it completely: grow until it fits.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return std::string(buffer.data(), n);
    if (buffer.size() >= 0x100000) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

AutostartValue::AutostartValue(const std::string& appName, AutostartRoots roots) : roots_(roots) {
  const autostart::ValuePath path = autostart::valuePath(appName);
  key_ = path.key;
  valueName_ = path.valueName;
}

HKEY AutostartValue::rootOf(AutostartPlace place) const {
  return place == AutostartPlace::Machine ? roots_.machine : roots_.user;
}

std::string AutostartValue::read(AutostartPlace place) const {
  if (place == AutostartPlace::None) return std::string();
  return readRegistryText(rootOf(place), key_, valueName_);
}

bool AutostartValue::write(AutostartPlace place, const std::string& data) {
  return writeRegistryText(rootOf(place), key_, valueName_, data);
}

bool AutostartValue::remove(AutostartPlace place) {
  return deleteRegistryValue(rootOf(place), key_, valueName_);
}

AutostartPlace AutostartValue::enable(const std::string& data) {
  if (write(AutostartPlace::Machine, data)) {
    // An older fallback value would start the program a second time.
    remove(AutostartPlace::User);
    return AutostartPlace::Machine;
  }
  if (write(AutostartPlace::User, data)) {
    // A value under the machine root that could not be rewritten cannot be
    // deleted either; try all the same, the right to delete may differ.
    remove(AutostartPlace::Machine);
    return AutostartPlace::User;
  }
  return AutostartPlace::None;
}

bool AutostartValue::disable() {
  const bool machine = remove(AutostartPlace::Machine);
  const bool user = remove(AutostartPlace::User);
  return machine && user;
}

AutostartPlace AutostartValue::sync(const std::string& expected) {
  for (AutostartPlace place : {AutostartPlace::Machine, AutostartPlace::User}) {
    if (read(place) == expected) {
      const AutostartPlace other =
          place == AutostartPlace::Machine ? AutostartPlace::User : AutostartPlace::Machine;
      if (!read(other).empty()) remove(other);
      return place;
    }
  }
  return enable(expected);
}
