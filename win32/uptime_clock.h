#pragma once
// The system's millisecond uptime clock.
#include <cstdint>

#include "engine/services.h"

class UptimeClock : public Clock {
 public:
  // GetTickCount64: 64 bits, so it does not wrap after 49.7 days.
  std::uint64_t uptimeMs() override;
};
