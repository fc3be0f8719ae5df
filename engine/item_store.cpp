#include "engine/item_store.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "common/text.h"
#include "engine/item_schema.h"
#include "engine/row_codec.h"

namespace {
// A stored number truncated toward zero into the range of the field.
template <typename Int>
Int truncated(double value) {
  if (std::isnan(value)) return 0;
  const double lo = static_cast<double>(std::numeric_limits<Int>::min());
  const double hi = static_cast<double>(std::numeric_limits<Int>::max());
  if (value <= lo) return std::numeric_limits<Int>::min();
  if (value >= hi) return std::numeric_limits<Int>::max();
  return static_cast<Int>(value);
}
}  // namespace

void saveListState(SettingsStore& store, const ListView& view, MenuItem& autostart) {
  store.SetSection(schema::kMainSection);
  store.WriteBytes(schema::kRows, encodeRows(rowsOf(view)));
  store.SaveMenuChecked(autostart);
}

void readTrackingState(SettingsStore& store, BackupItem& item) {
  item.sequenceNumber = truncated<std::int32_t>(store.ReadNumber(schema::kSequence, 0));
  item.lastSize = truncated<std::int64_t>(store.ReadNumber(schema::kLastSize, 0));
  item.lastDigest = store.ReadText(schema::kLastDigest, "");
  item.lastModified = store.ReadDate(schema::kLastTime, 0);
  item.historyPaths = text::split(store.ReadText(schema::kHistory, ""), schema::kPathSeparator);
}

void readOptions(SettingsStore& store, BackupItem& item) {
  item.keepCount = truncated<std::int32_t>(store.ReadNumber(schema::kKeepCount, 0));
  item.refreshSeconds = static_cast<float>(store.ReadNumber(schema::kRefreshSeconds, 0));
  item.pathTemplate = store.ReadText(schema::kPathTemplate, "");
}

void writeOptions(SettingsStore& store, const BackupItem& item) {
  store.SetSection(itemSection(item.itemKey));
  store.WriteNumber(schema::kKeepCount, item.keepCount);
  store.WriteNumber(schema::kRefreshSeconds, item.refreshSeconds);
  store.WriteText(schema::kPathTemplate, item.pathTemplate);
}

void writeBackupState(SettingsStore& store, const BackupItem& item) {
  const std::string section = itemSection(item.itemKey);
  store.WriteEntry(section, schema::kSequence, std::to_string(item.sequenceNumber));
  store.WriteEntry(section, schema::kLastSize, std::to_string(item.lastSize));
  store.WriteEntry(section, schema::kLastDigest, item.lastDigest);
  store.WriteEntry(section, schema::kHistory, text::join(item.historyPaths, schema::kPathSeparator));
}

void loadItems(SettingsStore& store, ListView& view, BackupItemList& items, Digest& digest,
               MenuItem& autostart) {
  store.SetSection(schema::kMainSection);
  fillView(view, decodeRows(store.ReadBytes(schema::kRows, "")));
  store.LoadMenuChecked(autostart);

  items.clear();
  for (int row = 0; row < view.rowCount(); ++row) {
    BackupItem item;
    item.sourcePath = view.cellText(row, ListView::kSourcePath);
    item.itemKey = digest.ofBytes(item.sourcePath);
    store.SetSection(itemSection(item.itemKey));
    readTrackingState(store, item);
    view.setCellText(row, ListView::kSequence, std::to_string(item.sequenceNumber));
    readOptions(store, item);
    item.lastPollTick = 0;
    items.append(item);
  }
}
