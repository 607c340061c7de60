// The main window's private messages and command ids.
#pragma once

#include <cstdint>

#include "platform/window_messages.h"

constexpr uint32_t WM_RELOADCONFIG = kWmUser;  // 1024
constexpr uint32_t WM_TRAYNOTIFY = kWmUser + 1;
constexpr uint32_t WM_SHOWMAINMENU = kWmUser + 2;
constexpr uint32_t WM_SHOWCONFIGMENU = kWmUser + 3;

constexpr uint32_t IDM_EXIT = 100;
constexpr uint32_t IDM_ABOUT = 101;
constexpr uint32_t IDM_CONFIG = 102;
constexpr uint32_t IDM_STARTWITHWINDOWS = 103;
constexpr uint32_t IDM_LOAD = 1000;
constexpr uint32_t IDM_SAVEAS = 1001;

constexpr uint32_t TRAY_ICON_ID = 2000;

// The main window's own timer: the watch over the joystick ports. Not 1:
// Wine's joystick capture sets a timer of id 0 on the same window and
// kills timer 1 when the capture is released.
constexpr uint32_t STICK_WATCH_TIMER_ID = 3000;
