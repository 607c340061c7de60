// Message numbers and command ids of the hidden main window.
#pragma once

#include <cstdint>

// The system's own numbers, for code that sees no Windows header; where one
// is included first its definitions stand.
#ifndef WM_CREATE
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_ENDSESSION = 0x0016;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
#endif
#ifndef MM_JOY1MOVE
constexpr uint32_t MM_JOY1MOVE = 0x3A0;
constexpr uint32_t MM_JOY2MOVE = 0x3A1;
constexpr uint32_t MM_JOY1BUTTONDOWN = 0x3B5;
constexpr uint32_t MM_JOY2BUTTONDOWN = 0x3B6;
constexpr uint32_t MM_JOY1BUTTONUP = 0x3B7;
constexpr uint32_t MM_JOY2BUTTONUP = 0x3B8;
#endif

constexpr uint32_t WM_RELOADCONFIG = 1024;  // WM_USER
constexpr uint32_t WM_TRAYNOTIFY = 1025;
constexpr uint32_t WM_SHOWMAINMENU = 1026;
constexpr uint32_t WM_SHOWCONFIGMENU = 1027;

constexpr uint32_t IDM_EXIT = 100;
constexpr uint32_t IDM_ABOUT = 101;
constexpr uint32_t IDM_CONFIG = 102;
constexpr uint32_t IDM_LOAD = 1000;
constexpr uint32_t IDM_SAVEAS = 1001;

constexpr uint32_t TRAY_ICON_ID = 2000;
