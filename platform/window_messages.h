// The system's message numbers that the main window's logic handles, by
// name, for code that sees no Windows header. platform_win32.cpp checks each
// against the system's own definition.
#pragma once

#include <cstdint>

constexpr uint32_t kWmCreate = 0x0001;         // WM_CREATE
constexpr uint32_t kWmDestroy = 0x0002;        // WM_DESTROY
constexpr uint32_t kWmEndSession = 0x0016;     // WM_ENDSESSION
constexpr uint32_t kWmCommand = 0x0111;        // WM_COMMAND
constexpr uint32_t kWmTimer = 0x0113;          // WM_TIMER: wParam is the timer's id
constexpr uint32_t kWmLButtonDown = 0x0201;    // WM_LBUTTONDOWN
constexpr uint32_t kWmLButtonDblClk = 0x0203;  // WM_LBUTTONDBLCLK
constexpr uint32_t kWmRButtonDown = 0x0204;    // WM_RBUTTONDOWN
constexpr uint32_t kWmPowerBroadcast = 0x0218; // WM_POWERBROADCAST: wParam is the event
constexpr uint32_t kWmDeviceChange = 0x0219;   // WM_DEVICECHANGE: a device came, went or changed
constexpr uint32_t kWmUser = 0x0400;           // WM_USER

// WM_POWERBROADCAST events of a system waking from sleep.
constexpr uint32_t kPbtApmResumeSuspend = 0x0007;    // PBT_APMRESUMESUSPEND: resumed by the user
constexpr uint32_t kPbtApmResumeAutomatic = 0x0012;  // PBT_APMRESUMEAUTOMATIC: resumed at all

// The joystick driver's reports, per port.
constexpr uint32_t kMmJoy1Move = 0x3A0;        // MM_JOY1MOVE
constexpr uint32_t kMmJoy2Move = 0x3A1;        // MM_JOY2MOVE
constexpr uint32_t kMmJoy1ButtonDown = 0x3B5;  // MM_JOY1BUTTONDOWN
constexpr uint32_t kMmJoy2ButtonDown = 0x3B6;  // MM_JOY2BUTTONDOWN
constexpr uint32_t kMmJoy1ButtonUp = 0x3B7;    // MM_JOY1BUTTONUP
constexpr uint32_t kMmJoy2ButtonUp = 0x3B8;    // MM_JOY2BUTTONUP
