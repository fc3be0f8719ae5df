#include "win32/uptime_clock.h"

#include <windows.h>

std::uint64_t UptimeClock::uptimeMs() { return GetTickCount64(); }
