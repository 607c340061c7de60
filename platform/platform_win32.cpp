// The seam's operations on real Windows: winmm for the joystick, user32 for
// synthesised input and messages, kernel32 for files and timing.
#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>

#include <cstddef>

#include "platform/input_codes.h"
#include "platform/platform.h"
#include "platform/platform_win32.h"
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

uint32_t PlatformJoyGetPosEx(uint32_t joystickId, JoyInfoEx* info)
{
    return joyGetPosEx(joystickId, reinterpret_cast<JOYINFOEX*>(info));
}

uint32_t PlatformJoyGetDevCaps(uint32_t joystickId, JoyCaps* caps)
{
    return joyGetDevCapsA(joystickId, reinterpret_cast<JOYCAPSA*>(caps), sizeof(JOYCAPSA));
}

uint32_t PlatformGetModuleFileName(char* buffer, uint32_t size)
{
    return GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, size);
}

PlatformFile PlatformFileOpen(const char* path)
{
    const HFILE file = _lopen(path, OF_READ);
    return file == HFILE_ERROR ? PLATFORM_BAD_FILE : PlatformFile(file);
}

PlatformFile PlatformFileCreate(const char* path)
{
    const HFILE file = _lcreat(path, 0);
    return file == HFILE_ERROR ? PLATFORM_BAD_FILE : PlatformFile(file);
}

int32_t PlatformFileRead(PlatformFile file, void* buffer, uint32_t count)
{
    return int32_t(_lread(HFILE(file), buffer, count));
}

int32_t PlatformFileWrite(PlatformFile file, const void* buffer, uint32_t count)
{
    return int32_t(_lwrite(HFILE(file), static_cast<LPCCH>(buffer), count));
}

void PlatformFileClose(PlatformFile file)
{
    _lclose(HFILE(file));
}

bool PlatformFileReplace(const char* source, const char* target)
{
    // Write-through so the new file is on disk before the old one is gone.
    return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void PlatformFileDelete(const char* path)
{
    DeleteFileA(path);
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
    for (int i = 0; i < count; ++i) AppendMenuA(menu, MF_STRING, items[i].command, items[i].text);
    POINT at;
    GetCursorPos(&at);
    // Without an active owner the menu would not close when the user clicks
    // elsewhere.
    SetActiveWindow(platformMainWindow);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, platformMainWindow, nullptr);
    DestroyMenu(menu);
}

namespace {

// Both dialogs share one set-up; only the flags differ.
OPENFILENAMEA FileDialogSetup(char* path, DWORD flags)
{
    static const char kFilter[] = "cfg files \0*.CFG\0all files \0*.*\0";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hInstance = platformInstance;
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = flags;
    return dialog;
}

}  // namespace

bool PlatformGetOpenFileName(char* path)
{
    OPENFILENAMEA dialog = FileDialogSetup(path, OFN_EXPLORER | OFN_FILEMUSTEXIST);
    return GetOpenFileNameA(&dialog) != 0;
}

bool PlatformGetSaveFileName(char* path)
{
    OPENFILENAMEA dialog = FileDialogSetup(path, OFN_EXPLORER);
    return GetSaveFileNameA(&dialog) != 0;
}
