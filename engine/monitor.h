#pragma once
// Watching: while the start button is on, every ticked item is polled when
// its interval has run out, and a file whose last-write time and then whose
// content digest changed is copied to its destinations.
#include <functional>
#include <string>

#include "engine/backup_item.h"
#include "engine/list_view.h"
#include "engine/services.h"
#include "settings/settings_store.h"

// The large start button; its caption is the watching state.
class StartButton {
 public:
  virtual ~StartButton() = default;
  virtual std::string caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
};

// An information message box (OK button) that waits for the user.
class InfoMessages {
 public:
  virtual ~InfoMessages() = default;
  virtual void showInformation(const std::string& text, const std::string& title) = 0;
};

extern const char* const kCaptionIdle;      // "启动备份监视"
extern const char* const kCaptionWatching;  // "停止备份监视"
extern const char* const kCaptionStopping;  // "正在停止中.."

struct MonitorServices {
  ListView& view;
  BackupItemList& items;
  SettingsStore& store;
  FileSystem& files;
  Digest& digest;
  Clock& clock;
  EventPump& pump;
  StartButton& button;
  InfoMessages& messages;
  // Saves the rows and the autostart check mark when watching starts.
  std::function<void()> saveListState;
};

class BackupMonitor {
 public:
  explicit BackupMonitor(const MonitorServices& services) : s_(services) {}

  // The start button's click: starts the cycle when idle (and returns when
  // it ends), or asks the running cycle to stop.
  void OnStartButtonClicked();

  // Asks a running cycle to end at its next test (the window is going away).
  void requestStop() { stopRequested_ = true; }

  bool isWatching() const;
  // True while a poll runs: the settings store must not run other handlers then.
  bool isPolling() const { return polling_; }

  // Polls the item of row index - 1.
  void pollItem(int index);

  // Waits in 10 ms steps, handling pending window events after each.
  void pauseWithEvents(unsigned milliseconds);

 private:
  void runCycle();
  void backUp(int row, BackupItem& item);

  MonitorServices s_;
  bool stopRequested_ = false;
  bool polling_ = false;
  int lastBackupRow_ = 0;
};
