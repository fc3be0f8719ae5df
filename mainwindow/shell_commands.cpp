#include "mainwindow/shell_commands.h"

#include "engine/shell_paths.h"
#include "win32/explorer_win.h"

void openSelectedPath(const ListView& view, const BackupItemList& items) {
  const std::vector<int> selected = view.selectedRows();
  if (selected.empty() || selected.front() >= items.count()) return;
  OpenInExplorer(items.at(selected.front()).sourcePath);
}

void openSelectedBackupPath(const ListView& view) {
  const std::vector<int> selected = view.selectedRows();
  if (selected.empty()) return;
  OpenInExplorer(shell_paths::firstBackupPath(view.cellText(selected.front(), ListView::kBackupPaths)));
}
