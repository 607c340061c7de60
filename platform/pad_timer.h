// The seam to a timer of 1 ms resolution that calls back on a thread of its
// own: the Xbox controllers' poll. The callback may read a device and post a
// message to the main window, nothing else.
#pragma once

#include <cstdint>

using PadTimerTick = void (*)(void* context);

// Calls tick(context) every period milliseconds until stopped; false when
// the system gives no such timer.
bool PlatformStartPadTimer(uint32_t milliseconds, PadTimerTick tick, void* context);
// Returns once the timer is gone and no tick runs any more.
void PlatformStopPadTimer();
