#include "engine/monitor.h"

#include "common/text.h"
#include "engine/item_schema.h"
#include "engine/item_store.h"
#include "engine/path_template.h"
#include "engine/retention.h"

const char* const kCaptionIdle = "启动备份监视";
const char* const kCaptionWatching = "停止备份监视";
const char* const kCaptionStopping = "正在停止中..";

namespace {
// Marks a poll in progress for as long as it runs, however it returns.
class PollScope {
 public:
  explicit PollScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~PollScope() { flag_ = false; }
  PollScope(const PollScope&) = delete;
  PollScope& operator=(const PollScope&) = delete;

 private:
  bool& flag_;
};
}  // namespace

bool BackupMonitor::isWatching() const { return s_.button.caption() != kCaptionIdle; }

void BackupMonitor::OnStartButtonClicked() {
  if (isWatching()) {
    // This click arrives inside the running cycle's event handling.
    stopRequested_ = true;
    s_.button.setCaption(kCaptionStopping);
    return;
  }
  stopRequested_ = false;
  s_.button.setCaption(kCaptionWatching);
  if (s_.view.rowCount() == 0) {
    s_.messages.showInformation("至少添加一个备份项目！", "信息：");
    s_.button.setCaption(kCaptionIdle);
    return;
  }
  if (s_.saveListState) s_.saveListState();
  runCycle();
  s_.button.setCaption(kCaptionIdle);
}

void BackupMonitor::runCycle() {
  for (;;) {
    const int n = s_.view.rowCount();
    for (int i = 1; i <= n; ++i) {
      s_.pump.handlePendingEvents();
      if (stopRequested_) break;
      pollItem(i);
    }
    pauseWithEvents(100);
    if (stopRequested_) return;
  }
}

void BackupMonitor::pauseWithEvents(unsigned milliseconds) {
  for (unsigned waited = 0; waited < milliseconds; waited += 10) {
    s_.pump.sleepMs(10);
    s_.pump.handlePendingEvents();
  }
}

void BackupMonitor::pollItem(int index) {
  const int row = index - 1;
  // Rows and items always go together; a row without its item is not polled.
  if (row < 0 || row >= s_.view.rowCount() || row >= s_.items.count()) return;
  PollScope scope(polling_);
  if (!s_.view.isTicked(row)) return;

  BackupItem& item = s_.items.at(row);
  const std::uint64_t now = s_.clock.uptimeMs();
  const double elapsed = static_cast<double>(now) - static_cast<double>(item.lastPollTick);
  if (elapsed - static_cast<double>(item.refreshSeconds) * 1000.0 <= 0.0000001) return;
  item.lastPollTick = s_.clock.uptimeMs();

  const FileStamp stamp = s_.files.stamp(item.sourcePath);
  if (!stamp.found || stamp.localTime == oledate::kNoTime) return;
  // Two saves within one second have the same whole-second time; the
  // full-resolution time of the last poll tells them apart.
  const bool sameFineTime = item.lastRawTime == 0 || stamp.rawTime == item.lastRawTime;
  item.lastRawTime = stamp.rawTime;
  if (stamp.localTime == item.lastModified && sameFineTime) return;

  item.lastModified = stamp.localTime;
  s_.store.SetSection(itemSection(item.itemKey));
  s_.store.WriteDate(schema::kLastTime, item.lastModified);

  const std::string digest = s_.digest.ofFile(item.sourcePath);
  if (digest == item.lastDigest) return;
  item.lastDigest = digest;
  backUp(row, item);
}

void BackupMonitor::backUp(int row, BackupItem& item) {
  const std::string expanded = expandTemplate(s_.files, s_.view, item, row, true, true);
  const std::vector<std::string> destinations = text::split(expanded, schema::kPathSeparator);
  updateHistory(s_.files, item, destinations);
  writeBackupState(s_.store, item);
  for (const std::string& destination : destinations) {
    ensureDirectories(s_.files, destination);
    s_.files.copyFile(item.sourcePath, destination);
  }
  s_.view.scrollIntoView(row);
  s_.view.focus();
  s_.view.setIcon(row, 1);
  if (lastBackupRow_ != row && lastBackupRow_ < s_.view.rowCount()) s_.view.setIcon(lastBackupRow_, 0);
  lastBackupRow_ = row;
}
