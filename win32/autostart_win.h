#pragma once
// The autostart value in the registry: the Run key's value named after the
// program. It is written under HKEY_LOCAL_MACHINE as the program always did;
// where that is not allowed (no right to write there), under
// HKEY_CURRENT_USER's Run key instead, which Windows runs at logon as well.
#include <windows.h>

#include <string>

// Where the value is kept.
enum class AutostartPlace { None, Machine, User };

// The two roots that hold Run keys. Tests hand in other keys here, such as
// a key opened read-only to stand for a root the user may not write to.
struct AutostartRoots {
  HKEY machine = HKEY_LOCAL_MACHINE;
  HKEY user = HKEY_CURRENT_USER;
};

class AutostartValue {
 public:
  explicit AutostartValue(const std::string& appName, AutostartRoots roots = {});

  // The value's text in one place; empty when it is missing or no text.
  std::string read(AutostartPlace place) const;

  // Writes the data under the machine root, else under the user root, and
  // removes the value from the other place so that only one start is
  // registered. Returns where it was written; None when neither could be.
  AutostartPlace enable(const std::string& data);

  // Deletes the value in both places; true when neither holds it any more.
  bool disable();

  // Brings the value in line with the expected data: a place that already
  // holds exactly these bytes is kept (the machine root first), otherwise
  // the data is written as by enable. Returns where the value is now; None
  // when it could not be written anywhere.
  AutostartPlace sync(const std::string& expected);

 private:
  HKEY rootOf(AutostartPlace place) const;
  bool write(AutostartPlace place, const std::string& data);
  bool remove(AutostartPlace place);

  AutostartRoots roots_;
  std::string key_;
  std::string valueName_;
};

// The full path of the running program's file, at any length.
std::string programFilePath();

// Registry helpers for text values, at any length.
// The REG_SZ (or REG_EXPAND_SZ) text of a value; empty when missing.
std::string readRegistryText(HKEY root, const std::string& key, const std::string& name);
// Writes a REG_SZ value, creating the key when it is missing.
bool writeRegistryText(HKEY root, const std::string& key, const std::string& name,
                       const std::string& data);
// Deletes a value; a missing value or key counts as deleted.
bool deleteRegistryValue(HKEY root, const std::string& key, const std::string& name);
