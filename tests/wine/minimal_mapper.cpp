// The smallest joystick-to-key program there can be, the yardstick of
// measure-memory.sh: a hidden window, a capture of port 1, and on each of the
// port's messages one read and, when button 1 changed, one key (cursor right)
// down or up. No tray icon, no menus, no dialogs; it imports kernel32, user32,
// winmm and msvcrt only, and is linked like quellpad.exe.
//
// Usage: minimal_mapper.exe [REPORTS]   ends by itself after REPORTS reads
// (default 500), as it has no menu to be told to.
#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>

namespace {

constexpr const char* kClassName = "QuellpadMinimalMapper";

int readsLeft = 500;
DWORD lastButtons;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != MM_JOY1MOVE && message != MM_JOY1BUTTONDOWN && message != MM_JOY1BUTTONUP) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    JOYINFOEX info = {};
    info.dwSize = sizeof info;
    info.dwFlags = JOY_RETURNALL;
    if (joyGetPosEx(JOYSTICKID1, &info) == JOYERR_NOERROR) {
        if ((info.dwButtons ^ lastButtons) & JOY_BUTTON1) {
            keybd_event(VK_RIGHT, 0, (info.dwButtons & JOY_BUTTON1) ? 0 : KEYEVENTF_KEYUP, 0);
        }
        lastButtons = info.dwButtons;
    }
    if (--readsLeft == 0) PostQuitMessage(0);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const int reads = atoi(commandLine);
    if (reads > 0) readsLeft = reads;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) return 1;
    HWND window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || joySetCapture(window, JOYSTICKID1, 10, FALSE) != JOYERR_NOERROR) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    joyReleaseCapture(JOYSTICKID1);
    DestroyWindow(window);
    return 0;
}
