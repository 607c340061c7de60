// The Windows numbers that synthesised input is made of, by name, for code
// that sees no Windows header. platform_win32.cpp checks each against the
// system's own definition.
#pragma once

#include <cstdint>

// Virtual keys.
constexpr uint8_t kVkShift = 16;    // VK_SHIFT
constexpr uint8_t kVkControl = 17;  // VK_CONTROL
constexpr uint8_t kVkMenu = 18;     // VK_MENU: Alt
constexpr uint8_t kVkLShift = 160;  // VK_LSHIFT

// keybd_event flags.
constexpr uint32_t kKeyEventExtendedKey = 1;  // KEYEVENTF_EXTENDEDKEY
constexpr uint32_t kKeyEventKeyUp = 2;        // KEYEVENTF_KEYUP

// MapVirtualKeyA translation types.
constexpr uint32_t kMapVkToScan = 0;  // MAPVK_VK_TO_VSC
constexpr uint32_t kMapVkToChar = 2;  // MAPVK_VK_TO_CHAR

// mouse_event flags.
constexpr uint32_t kMouseMove = 0x0001;        // MOUSEEVENTF_MOVE
constexpr uint32_t kMouseLeftDown = 0x0002;    // MOUSEEVENTF_LEFTDOWN
constexpr uint32_t kMouseLeftUp = 0x0004;      // MOUSEEVENTF_LEFTUP
constexpr uint32_t kMouseRightDown = 0x0008;   // MOUSEEVENTF_RIGHTDOWN
constexpr uint32_t kMouseRightUp = 0x0010;     // MOUSEEVENTF_RIGHTUP
constexpr uint32_t kMouseMiddleDown = 0x0020;  // MOUSEEVENTF_MIDDLEDOWN
constexpr uint32_t kMouseMiddleUp = 0x0040;    // MOUSEEVENTF_MIDDLEUP
constexpr uint32_t kMouseWheel = 0x0800;       // MOUSEEVENTF_WHEEL: vertical, positive away from the user
constexpr uint32_t kMouseHWheel = 0x1000;      // MOUSEEVENTF_HWHEEL: horizontal, positive to the right
// One notch of a wheel.
constexpr int32_t kWheelDelta = 120;  // WHEEL_DELTA

// The scan code of the left Shift key, which wraps capitals and macro letters.
constexpr uint8_t kShiftScan = 42;

// joyGetDevCapsA's wCaps bits: which optional axes a device has, and a hat.
constexpr uint32_t kJoyCapsHasZ = 0x01;    // JOYCAPS_HASZ
constexpr uint32_t kJoyCapsHasR = 0x02;    // JOYCAPS_HASR
constexpr uint32_t kJoyCapsHasU = 0x04;    // JOYCAPS_HASU
constexpr uint32_t kJoyCapsHasV = 0x08;    // JOYCAPS_HASV
constexpr uint32_t kJoyCapsHasPov = 0x10;  // JOYCAPS_HASPOV

// JOYINFOEX.dwPOV of a hat at rest; otherwise hundredths of a degree
// clockwise from forward.
constexpr uint32_t kJoyPovCentered = 0xFFFF;  // JOY_POVCENTERED
