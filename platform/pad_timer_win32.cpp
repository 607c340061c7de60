// The multimedia timer of winmm, which XP has: periodic, 1 ms resolution, its
// callback on a thread of the system's. Its functions are looked up when the
// first Xbox controller is polled, not imported: a program whose ports read
// the joystick driver never binds them, so winmm's timer parts (and what they
// pull in) stay out of its memory.
#include <windows.h>
#include <mmsystem.h>

#include "platform/pad_timer.h"

namespace {

struct WinmmTimer {
    bool searched;
    MMRESULT(WINAPI* beginPeriod)(UINT);
    MMRESULT(WINAPI* endPeriod)(UINT);
    MMRESULT(WINAPI* setEvent)(UINT, UINT, LPTIMECALLBACK, DWORD_PTR, UINT);
    MMRESULT(WINAPI* killEvent)(UINT);
};
WinmmTimer winmm;

template <class Function>
void Find(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// winmm is loaded already: the joystick functions are imported from it.
bool FindWinmmTimer()
{
    if (!winmm.searched) {
        winmm.searched = true;
        HMODULE library = GetModuleHandleA("winmm.dll");
        if (library != nullptr) {
            Find(library, "timeBeginPeriod", winmm.beginPeriod);
            Find(library, "timeEndPeriod", winmm.endPeriod);
            Find(library, "timeSetEvent", winmm.setEvent);
            Find(library, "timeKillEvent", winmm.killEvent);
        }
    }
    return winmm.beginPeriod != nullptr && winmm.endPeriod != nullptr && winmm.setEvent != nullptr &&
           winmm.killEvent != nullptr;
}

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
    if (!FindWinmmTimer()) return false;
    padTimer.tick = tick;
    padTimer.context = context;
    InterlockedExchange(&padTimer.stopping, 0);
    // The period is asked of the system clock too, so that Windows does not
    // round it up to its 15.6 ms tick; given back at the stop.
    winmm.beginPeriod(1);
    padTimer.id =
        winmm.setEvent(milliseconds, 1, Tick, 0, TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (padTimer.id == 0) winmm.endPeriod(1);
    return padTimer.id != 0;
}

void PlatformStopPadTimer()
{
    if (padTimer.id == 0) return;
    InterlockedExchange(&padTimer.stopping, 1);
    winmm.killEvent(padTimer.id);
    padTimer.id = 0;
    while (InterlockedCompareExchange(&padTimer.ticking, 0, 0) != 0) Sleep(0);
    winmm.endPeriod(1);
}
