// The seam between Quellpad's logic and Windows. engine/ and config/ reach the
// system only through these few operations, so they build and run natively;
// platform_win32.cpp implements them, and the tests link a recording fake.
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

// Handle of an open file; PLATFORM_BAD_FILE when an open or create failed.
using PlatformFile = intptr_t;
constexpr PlatformFile PLATFORM_BAD_FILE = -1;

// Synthesised input. vk and scan are single bytes; flags as keybd_event.
void PlatformKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags);
// flags as mouse_event; dx, dy relative when flags is MOUSEEVENTF_MOVE.
void PlatformMouseEvent(uint32_t flags, int32_t dx, int32_t dy);
// A turn of the wheel: flags MOUSEEVENTF_WHEEL or MOUSEEVENTF_HWHEEL, delta
// in the mouse_event data word (120 a notch).
void PlatformMouseWheel(uint32_t flags, int32_t delta);
// MapVirtualKeyA(code, type).
uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t type);
// OemKeyScan(character).
uint32_t PlatformOemKeyScan(uint16_t character);
uint32_t PlatformGetDoubleClickTime();
void PlatformSleep(uint32_t milliseconds);

// joyGetPosEx / joyGetDevCapsA: kJoyNoError (JOYERR_NOERROR) or the driver's error code.
uint32_t PlatformJoyGetPosEx(uint32_t joystickId, JoyInfoEx* info);
uint32_t PlatformJoyGetDevCaps(uint32_t joystickId, JoyCaps* caps);

// Paths are zero-terminated UTF-8 in the program, so a folder may have any
// name; on Windows they reach the system's wide calls behind the seam.
// (quellpad-cfg on Windows keeps the ANSI code page of its command line.)

// The program's own executable path; returns its length, or size when it was
// cut short (as GetModuleFileNameA does).
uint32_t PlatformGetModuleFileName(char* buffer, uint32_t size);

// Files, as _lopen(path, 0) / _lread / _lwrite / _lclose.
PlatformFile PlatformFileOpen(const char* path);
// Creates a file of a name that does not exist yet, for writing. Any existing
// name fails, a link included (whose target is never touched).
PlatformFile PlatformFileCreateNew(const char* path);
int32_t PlatformFileRead(PlatformFile file, void* buffer, uint32_t count);
int32_t PlatformFileWrite(PlatformFile file, const void* buffer, uint32_t count);
void PlatformFileClose(PlatformFile file);
// Puts a completely written file in place of target in one step, so a reader
// sees either the old or the new configuration; false when it could not, and
// when target is read-only: the user's way of saying keep it.
bool PlatformFileReplace(const char* source, const char* target);
void PlatformFileDelete(const char* path);

// A modal message with one OK button, owned by the window with the focus.
void PlatformMessageBox(const char* text, const char* caption);

// The hidden main window, which owns the captures, the tray icon and the
// editor. Messages go to it alone.
void PlatformPostToMainWindow(uint32_t message);
void PlatformSendToMainWindow(uint32_t message);
void PlatformDestroyMainWindow();
void PlatformPostQuit();

struct MenuItem {
    const char* text;
    uint32_t command;
    bool checked = false;  // shown with a tick
};
// Shows a fresh popup menu at the pointer and returns when it closes; the
// chosen item arrives later as a command to the main window.
void PlatformTrackPopupMenu(const MenuItem* items, int count);

// The common file dialogs over a kPathSize buffer; true when the user
// confirmed a name, which then stands in path (a name too long for the buffer
// counts as a failed dialog).
bool PlatformGetOpenFileName(char* path);
bool PlatformGetSaveFileName(char* path);
