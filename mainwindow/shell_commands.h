#pragma once
// "打开路径" and "打开备份路径": Explorer at the first selected row's file or
// at its first backup copy.
#include "engine/backup_item.h"
#include "engine/list_view.h"

void openSelectedPath(const ListView& view, const BackupItemList& items);
void openSelectedBackupPath(const ListView& view);
