#pragma once
// A settings host over files held in memory: folders that exist or not,
// files held open by a store, changes that fail on request, a hook for the
// once-per-round message dispatch and a record of the message boxes.
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/text.h"
#include "settings/settings_host.h"

class MemoryHost : public SettingsHost {
 public:
  struct Message {
    std::string text;
    std::string title;
    StoreMessageKind kind;
  };

  MemoryHost() { folders.insert("C:\\qj"); }

  bool readFile(const std::string& path, std::string& bytes) override {
    auto it = files.find(path);
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  }

  std::unique_ptr<SettingsFile> openForEditing(const std::string& path) override {
    if (!folders.count(text::directoryOf(path)) || readOnly.count(path) || heldOpen.count(path))
      return nullptr;
    files.emplace(path, std::string());  // created if missing, never truncated
    heldOpen.insert(path);
    return std::make_unique<File>(*this, path);
  }

  bool writeFile(const std::string& path, const std::string& bytes) override {
    if (!folders.count(text::directoryOf(path)) || heldOpen.count(path)) return false;
    files[path] = bytes;
    return true;
  }

  bool createDirectory(const std::string& path) override {
    if (!folders.count(text::directoryOf(path)) || readOnly.count(path)) return false;
    folders.insert(path);
    return true;
  }

  void dispatchPendingMessages() override {
    ++dispatchCount;
    if (onDispatch) onDispatch();
  }

  void showMessage(const std::string& text, const std::string& title,
                   StoreMessageKind kind) override {
    messages.push_back({text, title, kind});
  }

  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> readOnly;
  std::set<std::string> heldOpen;
  // How many of the next changes to an open file fail, spoiling it from the offset.
  int failingChanges = 0;
  int changeCount = 0;
  int dispatchCount = 0;
  std::function<void()> onDispatch;
  std::vector<Message> messages;

 private:
  class File : public SettingsFile {
   public:
    File(MemoryHost& host, std::string path) : host_(host), path_(std::move(path)) {}
    ~File() override { host_.heldOpen.erase(path_); }
    bool replace(std::uint64_t offset, std::uint64_t count, const std::string& bytes) override {
      std::string& file = host_.files[path_];
      if (offset > file.size()) return false;
      if (host_.failingChanges > 0) {
        // As a write cut short would: the bytes from the offset on are lost.
        --host_.failingChanges;
        file.resize(offset);
        file += "#junk";
        return false;
      }
      ++host_.changeCount;
      file.replace(offset, count > file.size() - offset ? file.size() - offset : count, bytes);
      return true;
    }

   private:
    MemoryHost& host_;
    std::string path_;
  };
};
