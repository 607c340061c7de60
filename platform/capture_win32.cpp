// The main window's joystick captures on real Windows.
#include <windows.h>
#include <mmsystem.h>

#include "platform/joystick_capture.h"
#include "platform/platform_win32.h"

uint32_t PlatformJoySetCapture(uint32_t joystickId, uint32_t periodMs)
{
    return joySetCapture(platformMainWindow, joystickId, periodMs, FALSE);
}

void PlatformJoyReleaseCapture(uint32_t joystickId)
{
    joyReleaseCapture(joystickId);
}
