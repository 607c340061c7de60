// The main window's joystick captures, its timer and the clock on real
// Windows.
#include <windows.h>
#include <mmsystem.h>

#include "platform/clock.h"
#include "platform/joystick_capture.h"
#include "platform/platform_win32.h"
#include "platform/timers.h"

uint32_t PlatformJoySetCapture(uint32_t joystickId, uint32_t periodMs)
{
    return joySetCapture(platformMainWindow, joystickId, periodMs, FALSE);
}

void PlatformJoyReleaseCapture(uint32_t joystickId)
{
    joyReleaseCapture(joystickId);
}

uint32_t PlatformTickCount()
{
    return GetTickCount();
}

void PlatformSetTimer(uint32_t id, uint32_t milliseconds)
{
    SetTimer(platformMainWindow, id, milliseconds, nullptr);
}

void PlatformKillTimer(uint32_t id)
{
    KillTimer(platformMainWindow, id);
}
