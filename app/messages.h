// The main window's private messages. Its command ids and the tray icon's id
// stand with the resource ids (config/resource_ids.h).
#pragma once

#include <cstdint>

#include "config/resource_ids.h"
#include "platform/window_messages.h"

// Whether the window procedure passes a message on to the default
// processing after its own handling.
enum DefaultProcessing : bool { SKIP_DEFAULT = false, RUN_DEFAULT = true };

constexpr uint32_t WM_RELOADCONFIG = kWmUser;  // 1024
constexpr uint32_t WM_TRAYNOTIFY = kWmUser + 1;
constexpr uint32_t WM_SHOWMAINMENU = kWmUser + 2;
constexpr uint32_t WM_SHOWCONFIGMENU = kWmUser + 3;
// The system says another window came to the front (platform/foreground.h).
constexpr uint32_t WM_FOREGROUNDCHANGED = kWmUser + 4;

// The Xbox controllers' poll saw a change (app/pad_poll.h).
constexpr uint32_t WM_PADCHANGED = kWmUser + 5;

// The main window's timers (platform/timers.h), by id.
constexpr uint32_t kTimerSettleFront = 101;  // the application in front has stayed long enough
constexpr uint32_t kTimerPollFront = 102;    // a look at the window in front, for what the notices miss
// The watch over the joystick ports. Not 1: Wine's joystick capture sets a
// timer of id 0 on the same window and kills timer 1 when it is released.
constexpr uint32_t STICK_WATCH_TIMER_ID = 3000;
// The Xbox controllers' poll where the system gives no 1 ms timer: read on
// the main thread at the period a driver's stick reports at.
constexpr uint32_t XINPUT_REPORT_TIMER_ID = 3001;
// When the engine next needs to run without a report (engine/engine_time.h).
constexpr uint32_t ENGINE_TIMER_ID = 3002;
