#include "bench/noop_platform.h"

#include <cstring>

#include "app/shell.h"
#include "platform/clock.h"
#include "platform/foreground.h"
#include "platform/xinput.h"
#include "platform/joystick_capture.h"
#include "platform/pad_timer.h"
#include "platform/timers.h"
#include "platform/window.h"

JoyCaps benchCaps[2];
JoyInfoEx benchState[2];
uint32_t benchKeyEvents;

namespace {
uint8_t file[8192];
uint32_t fileSize;
uint32_t position;
}  // namespace

void PlatformKeyEvent(uint8_t, uint8_t, uint32_t) { ++benchKeyEvents; }
void PlatformMouseEvent(uint32_t, int32_t, int32_t) { ++benchKeyEvents; }
void PlatformMouseWheel(uint32_t, int32_t) { ++benchKeyEvents; }
uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t) { return code; }
uint32_t PlatformOemKeyScan(uint16_t character) { return character; }
uint32_t PlatformGetDoubleClickTime() { return 500; }
void PlatformSleep(uint32_t) {}

uint32_t PlatformJoyGetPosEx(uint32_t joystickId, JoyInfoEx* info)
{
    *info = benchState[joystickId];
    return 0;
}

uint32_t PlatformJoyGetDevCaps(uint32_t joystickId, JoyCaps* caps)
{
    *caps = benchCaps[joystickId];
    return 0;
}

uint32_t PlatformJoyGetNumDevs() { return 16; }

uint32_t PlatformGetModuleFileName(char* buffer, uint32_t size)
{
    static const char kPath[] = "C:\\Tools\\quellpad.exe";
    std::memcpy(buffer, kPath, sizeof kPath < size ? sizeof kPath : size);
    return sizeof kPath - 1;
}

PlatformFile PlatformFileOpen(const char*)
{
    position = 0;
    return 1;
}

PlatformFile PlatformFileCreateNew(const char*)
{
    position = fileSize = 0;
    return 1;
}

int32_t PlatformFileRead(PlatformFile, void* buffer, uint32_t count)
{
    const uint32_t n = count < fileSize - position ? count : fileSize - position;
    std::memcpy(buffer, file + position, n);
    position += n;
    return int32_t(n);
}

int32_t PlatformFileWrite(PlatformFile, const void* buffer, uint32_t count)
{
    std::memcpy(file + position, buffer, count);
    position += count;
    if (position > fileSize) fileSize = position;
    return int32_t(count);
}

void PlatformFileClose(PlatformFile) {}
bool PlatformFileReplace(const char*, const char*) { return true; }
void PlatformFileDelete(const char*) {}
void PlatformMessageBox(const char*, const char*) {}

// The shell's side of a report: the clock it stamps; the rest is never
// reached while sticks report.
uint32_t PlatformTickCount() { return 0; }
uint32_t PlatformJoySetCapture(uint32_t, uint32_t) { return 0; }
void PlatformJoyReleaseCapture(uint32_t) {}
void PlatformSetTimer(uint32_t, uint32_t) {}
void PlatformKillTimer(uint32_t) {}
bool PlatformFileExists(const char*) { return false; }
void PlatformGetForeground(ForegroundWindow& front) { front = ForegroundWindow{}; }
void PlatformWatchForeground(uint32_t) {}
void PlatformStopWatchingForeground() {}
void SetProgramTrayTip(const char*) {}
void ShowTrayBalloon(const char*) {}
XInputRead PlatformXInputGetState(uint32_t, XInputPad*) { return XINPUT_NO_LIBRARY; }
bool PlatformStartPadTimer(uint32_t, PadTimerTick, void*) { return false; }
void PlatformStopPadTimer() {}
void PlatformPostToMainWindow(uint32_t) {}
