#pragma once
// The commands that change the set of items and their options: add, modify
// the selected items, delete, reset sequence numbers. They change the items
// and the rows together and write the options to the settings at once.
#include <functional>
#include <string>

#include "engine/backup_item.h"
#include "engine/list_view.h"
#include "engine/services.h"
#include "settings/settings_store.h"

// What the options panel holds when a command runs.
struct PanelInput {
  std::string files;
  std::string pathTemplate;
  std::string keepCount;
  std::string refreshSeconds;
};

struct ItemCommandServices {
  ListView& view;
  BackupItemList& items;
  SettingsStore& store;
  FileSystem& files;
  Digest& digest;
  std::function<PanelInput()> panel;
  std::function<void()> focusFilesBox;
  std::function<void(const std::string&)> setAddCaption;
  std::function<bool()> isWatching;
  std::function<void(unsigned)> pauseWithEvents;
  std::function<void()> saveListState;
};

class ItemCommands {
 public:
  explicit ItemCommands(const ItemCommandServices& services) : s_(services) {}

  void OnAdd();             // left click on "添加"
  void OnModifySelected();  // right button pressed on "添加"
  void OnDelete();          // "删除"
  void OnResetSequence();   // menu "重置备份序号"

 private:
  ItemCommandServices s_;
};
