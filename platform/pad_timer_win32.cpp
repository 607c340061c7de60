// The multimedia timer of winmm, which XP has: periodic, 1 ms resolution, its
// callback on a thread of the system's.
#include <windows.h>
#include <mmsystem.h>

#include "platform/pad_timer.h"

namespace {

struct PadTimer {
    UINT id;
    PadTimerTick tick;
    void* context;
    // Ticks under way: the stop waits for them, whatever the system does
    // with a callback that has already started when the timer is killed.
    volatile LONG ticking;
    volatile LONG stopping;
};
PadTimer padTimer;

void CALLBACK Tick(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)
{
    InterlockedIncrement(&padTimer.ticking);
    if (InterlockedCompareExchange(&padTimer.stopping, 0, 0) == 0) padTimer.tick(padTimer.context);
    InterlockedDecrement(&padTimer.ticking);
}

}  // namespace

bool PlatformStartPadTimer(uint32_t milliseconds, PadTimerTick tick, void* context)
{
    PlatformStopPadTimer();
    padTimer.tick = tick;
    padTimer.context = context;
    InterlockedExchange(&padTimer.stopping, 0);
    // The period is asked of the system clock too, so that Windows does not
    // round it up to its 15.6 ms tick; given back at the stop.
    timeBeginPeriod(1);
    padTimer.id = timeSetEvent(milliseconds, 1, Tick, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (padTimer.id == 0) timeEndPeriod(1);
    return padTimer.id != 0;
}

void PlatformStopPadTimer()
{
    if (padTimer.id == 0) return;
    InterlockedExchange(&padTimer.stopping, 1);
    timeKillEvent(padTimer.id);
    padTimer.id = 0;
    while (InterlockedCompareExchange(&padTimer.ticking, 0, 0) != 0) Sleep(0);
    timeEndPeriod(1);
}
