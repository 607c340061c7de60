// What the tray icon's requests carry besides the Windows structure: which
// parts an add sets and the tip as the shell takes it. Apart from tray.cpp
// so that it is tested without Windows.
#pragma once

#include <cstdint>

constexpr uint32_t kTrayMessage = 0x1;  // NIF_MESSAGE
constexpr uint32_t kTrayIcon = 0x2;     // NIF_ICON
constexpr uint32_t kTrayTip = 0x4;      // NIF_TIP
constexpr int kTrayTipSize = 64;        // the first form's tip, terminator included

// The parts an add sets: always the callback message, the icon and the tip
// when there are any.
uint32_t TrayAddFlags(bool hasIcon, bool hasTip);

// The system's bounded copy, as lstrcpynA: at most count - 1 characters and
// a terminator.
using BoundedCopy = char* (*)(char* to, const char* from, int count);

// At most 63 characters reach the shell; longer tips are cut. Hands copy the
// smaller of the tip's length plus one and kTrayTipSize; to holds
// kTrayTipSize bytes.
void CopyTrayTip(char* to, const char* tip, BoundedCopy copy);
