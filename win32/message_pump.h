#pragma once
// The window thread's pending messages, handled from inside a handler (the
// monitor's cycle runs inside the start button's click).
#include "engine/services.h"

class MessagePump : public EventPump {
 public:
  // Dispatches every waiting message. WM_QUIT is put back and ends the
  // round, so the outer message loop still sees it and the program ends.
  void handlePendingEvents() override;
  void sleepMs(unsigned milliseconds) override;
};
