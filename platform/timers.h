// The seam to the main window's timers: each arrives there as kWmTimer with
// its id in wParam, again every period until it is killed.
#pragma once

#include <cstdint>

// Starts the timer id, or restarts it with a new period when it runs.
void PlatformSetTimer(uint32_t id, uint32_t milliseconds);
void PlatformKillTimer(uint32_t id);
