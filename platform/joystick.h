// The seam to the joystick driver (winmm): its records, laid out byte for
// byte like Windows' own, and the two reads the engine makes.
#pragma once

#include <cstdint>

// The driver's device capabilities, laid out byte for byte like winmm's
// JOYCAPSA so the Win32 side can hand this record straight to joyGetDevCapsA.
struct JoyCaps {
    uint16_t wMid;
    uint16_t wPid;
    char szPname[32];
    uint32_t wXmin, wXmax;
    uint32_t wYmin, wYmax;
    uint32_t wZmin, wZmax;
    uint32_t wNumButtons;
    uint32_t wPeriodMin, wPeriodMax;
    uint32_t wRmin, wRmax;
    uint32_t wUmin, wUmax;
    uint32_t wVmin, wVmax;
    uint32_t wCaps;
    uint32_t wMaxAxes;
    uint32_t wNumAxes;
    uint32_t wMaxButtons;
    char szRegKey[32];
    char szOEMVxD[260];
};
static_assert(sizeof(JoyCaps) == 404, "same layout as JOYCAPSA");

// One joystick state, laid out like winmm's JOYINFOEX.
struct JoyInfoEx {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwXpos, dwYpos, dwZpos, dwRpos, dwUpos, dwVpos;
    uint32_t dwButtons;
    uint32_t dwButtonNumber;
    uint32_t dwPOV;
    uint32_t dwReserved1, dwReserved2;
};
static_assert(sizeof(JoyInfoEx) == 52, "JoyInfoEx must match JOYINFOEX");

constexpr uint32_t kJoyReturnAll = 255;  // JOY_RETURNALL
constexpr uint32_t kJoyNoError = 0;  // JOYERR_NOERROR

// joyGetPosEx / joyGetDevCapsA: kJoyNoError (JOYERR_NOERROR) or the driver's error code.
uint32_t PlatformJoyGetPosEx(uint32_t joystickId, JoyInfoEx* info);
uint32_t PlatformJoyGetDevCaps(uint32_t joystickId, JoyCaps* caps);
// joyGetNumDevs: how many joysticks the driver supports; 0 without a driver.
uint32_t PlatformJoyGetNumDevs();
