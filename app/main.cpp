// Start-up and shutdown of the tray program.
#include <windows.h>
#include <mmsystem.h>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/tray.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/platform.h"
#include "platform/platform_win32.h"

namespace {

constexpr const char* kClassName = "TaskBarController";
constexpr const char* kCaption = "ERROR!";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // WM_CREATE arrives before CreateWindowExA returns the handle.
    if (message == WM_CREATE) platformMainWindow = window;
    if (!HandleMainWindowMessage(message, UINT(wParam), UINT(lParam))) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Reports at every polling period, changed or not, so held ends repeat.
MMRESULT Capture(HWND window, int port)
{
    PlatformJoyGetDevCaps(UINT(port), &joyCaps[port]);
    return joySetCapture(window, UINT(port), joyCaps[port].wPeriodMin, FALSE);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (joyGetNumDevs() == 0) {
        PlatformMessageBox("no game-device installed", kCaption);
        return 0;
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) return 0;
    platformInstance = instance;
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");

    // Creation loads the configuration, so bindings exist before any report.
    HWND window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    platformMainWindow = window;

    const MMRESULT captured[kPortCount] = {Capture(window, 0), Capture(window, 1)};
    if (captured[0] != JOYERR_NOERROR && captured[1] != JOYERR_NOERROR) {
        PlatformMessageBox("could not capture game-device", kCaption);
        DestroyWindow(window);
        UnregisterClassA(kClassName, instance);
        return 0;
    }

    if (window == nullptr) {
        PlatformMessageBox("could not install tray icon", kCaption);
    } else {
        AddProgramTrayIcon();
        // Above normal, not real time: a one-shot wait or a long macro must
        // not be able to starve the rest of the system.
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    for (int port = 0; port < kPortCount; ++port) {
        if (captured[port] == JOYERR_NOERROR) joyReleaseCapture(UINT(port));
    }
    TrayDelete(window, TRAY_ICON_ID);
    UnregisterClassA(kClassName, instance);
    return 0;
}
