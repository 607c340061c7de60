// The main window's private messages. Its command ids and the tray icon's id
// stand with the resource ids (config/resource_ids.h).
#pragma once

#include <cstdint>

#include "config/resource_ids.h"
#include "platform/window_messages.h"

constexpr uint32_t WM_RELOADCONFIG = kWmUser;  // 1024
constexpr uint32_t WM_TRAYNOTIFY = kWmUser + 1;
constexpr uint32_t WM_SHOWMAINMENU = kWmUser + 2;
constexpr uint32_t WM_SHOWCONFIGMENU = kWmUser + 3;
// The system says another window came to the front (platform/foreground.h).
constexpr uint32_t WM_FOREGROUNDCHANGED = kWmUser + 4;

// The main window's timers (platform/timers.h), by id.
constexpr uint32_t kTimerSettleFront = 101;  // the application in front has stayed long enough
constexpr uint32_t kTimerPollFront = 102;    // a look at the window in front, for what the notices miss
