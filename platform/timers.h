// Timers of the hidden main window: each arrives there as WM_TIMER with its
// id in wParam.
#pragma once

#include <cstdint>

// SetTimer: starts the timer, or restarts it when it runs, to fire every
// milliseconds from now on.
void PlatformSetTimer(uint32_t id, uint32_t milliseconds);
// KillTimer.
void PlatformKillTimer(uint32_t id);
