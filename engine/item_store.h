#pragma once
// Saving and loading the backup list: the rows as one byte value of the
// main section, each item's options and state in its own section.
#include <string>

#include "engine/backup_item.h"
#include "engine/list_view.h"
#include "engine/services.h"
#include "settings/menu_item.h"
#include "settings/settings_store.h"

// Writes all rows as "表项" and the check mark of "开机启动".
void saveListState(SettingsStore& store, const ListView& view, MenuItem& autostart);

// Rebuilds the rows from "表项", restores "开机启动", and rebuilds the items
// from the rows (column "文件路径") and their sections.
void loadItems(SettingsStore& store, ListView& view, BackupItemList& items, Digest& digest,
               MenuItem& autostart);

// Reads the tracking state of an item's section (sequence number, size,
// digest, time, history) into the item; its section must be current.
void readTrackingState(SettingsStore& store, BackupItem& item);

// Reads the options (number to keep, interval, template); section current.
void readOptions(SettingsStore& store, BackupItem& item);

// Writes the options into the item's section (made current here).
void writeOptions(SettingsStore& store, const BackupItem& item);

// Writes what a backup changed: sequence number, size, digest, history.
void writeBackupState(SettingsStore& store, const BackupItem& item);
