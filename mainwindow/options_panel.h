#pragma once
// The group "备份选项" (分组框1): which files to back up, the backup path
// template with its tag buttons, the interval and the number to keep. Its
// controls are children of the main window, placed relative to the group.
#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/backup_item.h"

class OptionsPanel {
 public:
  static constexpr int kLeft = 8;
  static constexpr int kTop = 424;
  static constexpr const char* kDefaultTemplate =
      "<目录路径>\\<主名>_<年><月><日>_<时><分><秒>_[<序号>]<副名>";

  // Creates the group and its controls in `parent`, in `font`.
  bool Create(HWND parent, HFONT font);

  // WM_COMMAND of the panel's buttons; false for other controls.
  bool OnCommand(int id, int code);

  // Shows an item's options in the boxes; nothing else changes.
  void showItemOptions(const BackupItem& item);

  // Called once per file of a drop, in order; the last file puts the
  // paths, joined with "|", into the file box.
  std::int32_t onDroppedFile(std::int32_t count, std::int32_t index, const std::string& path,
                             const std::string& extension);

  // Inserts a tag ("<" + name + ">") over the selection or at the caret.
  void insertTag(const std::string& tag);
  // The file chooser; false when cancelled or failed.
  bool chooseFiles();

  std::string filesText() const;
  std::string templateText() const;
  std::string keepCountText() const;
  std::string refreshText() const;
  void setFilesText(const std::string& text);
  void setTemplateText(const std::string& text);

  HWND filesBox() const { return filesBox_; }
  HWND templateBox() const { return templateBox_; }
  HWND refreshBox() const { return refreshBox_; }
  HWND keepBox() const { return keepBox_; }
  HWND addButton() const { return addButton_; }
  HWND deleteButton() const { return deleteButton_; }
  HWND group() const { return group_; }

 private:
  HWND parent_ = nullptr;
  HWND group_ = nullptr;
  HWND filesBox_ = nullptr;
  HWND templateBox_ = nullptr;
  HWND refreshBox_ = nullptr;
  HWND keepBox_ = nullptr;
  HWND addButton_ = nullptr;
  HWND deleteButton_ = nullptr;
  std::string droppedFilesText_;  // DroppedFilesText: the paths of the drop in progress
};

// The tag names of the thirteen buttons, in their order on the panel.
extern const char* const kTagButtonNames[13];
