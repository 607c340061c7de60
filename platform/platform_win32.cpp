// The seam's operations on real Windows: winmm for the joystick, user32 for
// synthesised input and messages, kernel32 for timing (files: files_win32.cpp).
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstring>

#include "platform/clock.h"
#include "platform/files_win32.h"
#include "platform/file_dialogs.h"
#include "platform/input_codes.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/on_first_use_win32.h"
#include "platform/window.h"
#include "platform/platform_win32.h"
#include "platform/timers.h"
#include "platform/window_messages.h"

HINSTANCE platformInstance;
HWND platformMainWindow;

// The seam's records are handed to winmm as they are.
static_assert(sizeof(JoyCaps) == sizeof(JOYCAPSA));
static_assert(offsetof(JoyCaps, wNumButtons) == offsetof(JOYCAPSA, wNumButtons));
static_assert(offsetof(JoyCaps, wPeriodMin) == offsetof(JOYCAPSA, wPeriodMin));
static_assert(offsetof(JoyCaps, wRmin) == offsetof(JOYCAPSA, wRmin));
static_assert(offsetof(JoyCaps, wCaps) == offsetof(JOYCAPSA, wCaps));
static_assert(offsetof(JoyCaps, wNumAxes) == offsetof(JOYCAPSA, wNumAxes));
static_assert(offsetof(JoyCaps, szOEMVxD) == offsetof(JOYCAPSA, szOEMVxD));
static_assert(sizeof(JoyInfoEx) == sizeof(JOYINFOEX));
static_assert(offsetof(JoyInfoEx, dwButtons) == offsetof(JOYINFOEX, dwButtons));
static_assert(offsetof(JoyInfoEx, dwVpos) == offsetof(JOYINFOEX, dwVpos));
static_assert(offsetof(JoyInfoEx, dwPOV) == offsetof(JOYINFOEX, dwPOV));

// The logic's names for Windows numbers are the system's numbers.
static_assert(kVkShift == VK_SHIFT && kVkControl == VK_CONTROL && kVkMenu == VK_MENU && kVkLShift == VK_LSHIFT);
static_assert(kKeyEventExtendedKey == KEYEVENTF_EXTENDEDKEY && kKeyEventKeyUp == KEYEVENTF_KEYUP);
static_assert(kMapVkToScan == MAPVK_VK_TO_VSC && kMapVkToChar == MAPVK_VK_TO_CHAR);
static_assert(kMouseMove == MOUSEEVENTF_MOVE && kMouseLeftDown == MOUSEEVENTF_LEFTDOWN &&
              kMouseLeftUp == MOUSEEVENTF_LEFTUP && kMouseRightDown == MOUSEEVENTF_RIGHTDOWN &&
              kMouseRightUp == MOUSEEVENTF_RIGHTUP && kMouseMiddleDown == MOUSEEVENTF_MIDDLEDOWN &&
              kMouseMiddleUp == MOUSEEVENTF_MIDDLEUP);
static_assert(kMouseWheel == MOUSEEVENTF_WHEEL && kMouseHWheel == MOUSEEVENTF_HWHEEL && kWheelDelta == WHEEL_DELTA);
static_assert(kJoyCapsHasZ == JOYCAPS_HASZ && kJoyCapsHasR == JOYCAPS_HASR && kJoyCapsHasU == JOYCAPS_HASU &&
              kJoyCapsHasV == JOYCAPS_HASV && kJoyCapsHasPov == JOYCAPS_HASPOV);
static_assert(kJoyPovCentered == JOY_POVCENTERED);
static_assert(kJoyReturnAll == JOY_RETURNALL && kJoyNoError == JOYERR_NOERROR);
static_assert(kWmCreate == WM_CREATE && kWmDestroy == WM_DESTROY && kWmEndSession == WM_ENDSESSION &&
              kWmCommand == WM_COMMAND && kWmUser == WM_USER);
static_assert(kWmTimer == WM_TIMER && kWmPowerBroadcast == WM_POWERBROADCAST && kWmDeviceChange == WM_DEVICECHANGE);
static_assert(kPbtApmResumeSuspend == PBT_APMRESUMESUSPEND && kPbtApmResumeAutomatic == PBT_APMRESUMEAUTOMATIC);
static_assert(kWmLButtonDown == WM_LBUTTONDOWN && kWmLButtonDblClk == WM_LBUTTONDBLCLK &&
              kWmRButtonDown == WM_RBUTTONDOWN);
static_assert(kMmJoy1Move == MM_JOY1MOVE && kMmJoy2Move == MM_JOY2MOVE && kMmJoy1ButtonDown == MM_JOY1BUTTONDOWN &&
              kMmJoy2ButtonDown == MM_JOY2BUTTONDOWN && kMmJoy1ButtonUp == MM_JOY1BUTTONUP &&
              kMmJoy2ButtonUp == MM_JOY2BUTTONUP);

void PlatformKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags)
{
    keybd_event(vk, scan, flags, 0);
}

void PlatformMouseEvent(uint32_t flags, int32_t dx, int32_t dy)
{
    mouse_event(flags, DWORD(dx), DWORD(dy), 0, 0);
}

void PlatformMouseWheel(uint32_t flags, int32_t delta)
{
    mouse_event(flags, 0, 0, DWORD(delta), 0);
}

uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t type)
{
    return MapVirtualKeyA(code, type);
}

uint32_t PlatformOemKeyScan(uint16_t character)
{
    return OemKeyScan(character);
}

uint32_t PlatformGetDoubleClickTime()
{
    return GetDoubleClickTime();
}

void PlatformSleep(uint32_t milliseconds)
{
    Sleep(milliseconds);
}

uint32_t PlatformTickCount()
{
    return GetTickCount();
}

void PlatformSetTimer(uint32_t id, uint32_t milliseconds)
{
    SetTimer(platformMainWindow, id, milliseconds, nullptr);
}

void PlatformKillTimer(uint32_t id)
{
    KillTimer(platformMainWindow, id);
}

uint32_t PlatformJoyGetPosEx(uint32_t joystickId, JoyInfoEx* info)
{
    return joyGetPosEx(joystickId, reinterpret_cast<JOYINFOEX*>(info));
}

uint32_t PlatformJoyGetDevCaps(uint32_t joystickId, JoyCaps* caps)
{
    return joyGetDevCapsA(joystickId, reinterpret_cast<JOYCAPSA*>(caps), sizeof(JOYCAPSA));
}

uint32_t PlatformJoyGetNumDevs()
{
    return joyGetNumDevs();
}

// Folders whose names the ANSI code page cannot spell are found through the
// wide calls; the logic keeps their names in UTF-8.
const UINT platformPathCodePage = CP_UTF8;

uint32_t PlatformGetModuleFileName(char* buffer, uint32_t size)
{
    wchar_t wide[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH);
    if (length == 0) {
        if (size > 0) buffer[0] = '\0';
        return 0;
    }
    if (length >= MAX_PATH || !NarrowPath(wide, buffer, size)) return size;  // cut short
    return uint32_t(std::strlen(buffer));
}

void PlatformMessageBox(const char* text, const char* caption)
{
    MessageBoxA(GetFocus(), text, caption, MB_OK);
}

void PlatformPostToMainWindow(uint32_t message)
{
    PostMessageA(platformMainWindow, message, 0, 0);
}

void PlatformSendToMainWindow(uint32_t message)
{
    SendMessageA(platformMainWindow, message, 0, 0);
}

void PlatformDestroyMainWindow()
{
    DestroyWindow(platformMainWindow);
}

void PlatformPostQuit()
{
    PostQuitMessage(0);
}

void PlatformTrackPopupMenu(const MenuItem* items, int count)
{
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < count; ++i) {
        const UINT tick = items[i].checked ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(menu, MF_STRING | tick, items[i].command, items[i].text);
    }
    POINT at;
    GetCursorPos(&at);
    // Without an active owner the menu would not close when the user clicks
    // elsewhere.
    SetActiveWindow(platformMainWindow);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, platformMainWindow, nullptr);
    DestroyMenu(menu);
}

namespace {

static_assert(kDialogFileMustExist == OFN_FILEMUSTEXIST && kDialogExplorer == OFN_EXPLORER);

// The filter is plain ASCII; the wide dialogs take it a character each.
struct WideFilter {
    wchar_t text[sizeof kConfigFileFilter];
};
constexpr WideFilter Widen()
{
    WideFilter filter = {};
    for (size_t i = 0; i < sizeof kConfigFileFilter; ++i) filter.text[i] = wchar_t(kConfigFileFilter[i]);
    return filter;
}
constexpr WideFilter kFilter = Widen();

// Both dialogs share one set-up; only the flags differ.
OPENFILENAMEW FileDialogSetup(wchar_t* path, DWORD flags)
{
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hInstance = platformInstance;
    dialog.lpstrFilter = kFilter.text;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = flags;
    return dialog;
}

// A name whose UTF-8 does not fit the buffer fails, as a name too long for
// the dialog's own buffer does.
bool Chosen(BOOL confirmed, const wchar_t* wide, char* path)
{
    return confirmed && NarrowPath(wide, path, MAX_PATH);
}

}  // namespace

bool PlatformGetOpenFileName(char* path)
{
    wchar_t wide[MAX_PATH] = L"";
    OPENFILENAMEW dialog = FileDialogSetup(wide, kOpenDialogFlags);
    return Chosen(LateGetOpenFileNameW(&dialog), wide, path);
}

bool PlatformGetSaveFileName(char* path)
{
    wchar_t wide[MAX_PATH] = L"";
    OPENFILENAMEW dialog = FileDialogSetup(wide, kSaveDialogFlags);
    return Chosen(LateGetSaveFileNameW(&dialog), wide, path);
}
