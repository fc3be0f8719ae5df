#pragma once
// An in-memory file system for the engine's tests: files with a time and a
// size, directories, and a record of what the engine created and deleted.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/oledate.h"
#include "engine/services.h"

class FakeFileSystem : public FileSystem {
 public:
  struct File {
    double localTime = 0;
    std::int64_t size = 0;
    bool openable = true;   // false: held exclusively by another program
    bool deletable = true;  // false: in use or read-only
  };

  FileStamp stamp(const std::string& path) override {
    FileStamp s;
    auto it = files.find(path);
    if (it == files.end()) return s;
    s.found = true;
    s.localTime = it->second.localTime;
    s.rawTime = 1;
    return s;
  }
  std::int64_t openedSize(const std::string& path) override {
    auto it = files.find(path);
    return it != files.end() && it->second.openable ? it->second.size : 0;
  }
  bool exists(const std::string& path) override {
    return files.count(path) != 0 || directories.count(path) != 0;
  }
  bool createDirectory(const std::string& path) override {
    if (path.empty() || failingDirectories.count(path) || exists(path)) return false;
    directories.insert(path);
    created.push_back(path);
    return true;
  }
  bool copyFile(const std::string& from, const std::string& to) override {
    auto it = files.find(from);
    if (it == files.end()) return false;
    files[to] = it->second;
    return true;
  }
  bool deleteFile(const std::string& path) override {
    deleted.push_back(path);
    auto it = files.find(path);
    if (it == files.end() || !it->second.deletable) return false;
    files.erase(it);
    return true;
  }

  void addFile(const std::string& path, double localTime = 0, std::int64_t size = 0) {
    File f;
    f.localTime = localTime;
    f.size = size;
    files[path] = f;
  }

  std::map<std::string, File> files;
  std::set<std::string> directories;
  std::set<std::string> failingDirectories;
  std::vector<std::string> created;
  std::vector<std::string> deleted;  // every attempt, in order
};

// A date value from its parts, for test data.
inline double dateOf(int y, int mo, int d, int h, int mi, int s) {
  oledate::CivilTime c;
  c.year = y;
  c.month = mo;
  c.day = d;
  c.hour = h;
  c.minute = mi;
  c.second = s;
  double out = oledate::kNoTime;
  oledate::toDate(c, out);
  return out;
}
