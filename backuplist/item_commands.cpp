#include "backuplist/item_commands.h"

#include <windows.h>

#include "common/text.h"
#include "engine/item_schema.h"
#include "engine/item_store.h"
#include "engine/panel_values.h"
#include "engine/path_template.h"
#include "win32/message_box_win.h"

namespace {
constexpr const char* kInfoTitle = "信息：";
}  // namespace

void ItemCommands::OnAdd() {
  const PanelInput input = s_.panel();
  if (input.files.empty()) {
    showMessageBox("请输入要备份的文件路径，或拖放路径！", kInfoTitle, MB_OK | MB_ICONINFORMATION);
    s_.focusFilesBox();
    return;
  }

  BackupItem fresh;
  fresh.pathTemplate = input.pathTemplate;
  fresh.keepCount = keepCountFromText(input.keepCount);
  fresh.refreshSeconds = refreshSecondsFromText(input.refreshSeconds);

  int lastAdded = -1;
  for (const std::string& path : text::split(input.files, schema::kPathSeparator)) {
    BackupItem item = fresh;
    item.sourcePath = path;
    item.itemKey = s_.digest.ofBytes(path);
    // A file that was here before continues its numbering, digest and history.
    s_.store.SetSection(itemSection(item.itemKey));
    readTrackingState(s_.store, item);
    writeOptions(s_.store, item);
    if (s_.items.containsKey(item.itemKey)) continue;

    s_.items.append(item);
    BackupItem& added = s_.items.at(s_.items.count() - 1);
    const int row = s_.view.appendRow(text::fileNameOf(path));
    s_.view.setCellText(row, ListView::kSequence, std::to_string(added.sequenceNumber));
    const std::string expanded = expandTemplate(s_.files, s_.view, added, row, true, false);
    s_.view.setCellText(row, ListView::kBackupPaths, expanded);
    s_.view.setCellText(row, ListView::kSourcePath, path);
    s_.view.setTicked(row, true);
    lastAdded = row;
  }
  if (s_.view.rowCount() > 0) s_.view.scrollIntoView(lastAdded >= 0 ? lastAdded : 0);
  if (s_.isWatching()) s_.saveListState();
}

void ItemCommands::OnModifySelected() {
  if (showMessageBox("确定将当前备份选项修改到选定的列表？", kInfoTitle, MB_OKCANCEL) != IDOK) return;
  const std::vector<int> selected = s_.view.selectedRows();
  const PanelInput input = s_.panel();
  const std::int32_t keepCount = keepCountFromText(input.keepCount);
  const float refreshSeconds = refreshSecondsFromText(input.refreshSeconds);
  if (input.pathTemplate.empty()) {
    showMessageBox("备份到路径不能为空！", kInfoTitle, MB_OK);
    return;
  }
  for (int row : selected) {
    if (row >= s_.items.count()) continue;
    BackupItem& item = s_.items.at(row);
    item.keepCount = keepCount;
    item.refreshSeconds = refreshSeconds;
    item.pathTemplate = input.pathTemplate;
    writeOptions(s_.store, item);
  }
  s_.setAddCaption("已修改");
  s_.pauseWithEvents(500);
  s_.setAddCaption("添加");
}

void ItemCommands::OnDelete() {
  if (s_.isWatching()) {
    showMessageBox("请先停止备份监视再删除项目！", kInfoTitle, MB_OK);
    return;
  }
  const std::vector<int> selected = s_.view.selectedRows();
  // From the highest index down, so the remaining indices stay valid.
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    s_.view.deleteRow(*it);
    if (*it < s_.items.count()) s_.items.removeAt(*it);
  }
}

void ItemCommands::OnResetSequence() {
  for (int row : s_.view.selectedRows()) {
    if (row >= s_.items.count()) continue;
    BackupItem& item = s_.items.at(row);
    item.sequenceNumber = 0;
    s_.view.setCellText(row, ListView::kSequence, "0");
    s_.store.SetSection(itemSection(item.itemKey));
    s_.store.WriteNumber(schema::kSequence, 0);
  }
}
