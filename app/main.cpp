// Start-up and shutdown of the tray program, step by step in the order they
// run: device check, class, window, capture, tray, loop, shutdown.
#include <windows.h>
#include <mmsystem.h>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/tray.h"
#include "engine/joystick_report.h"
#include "platform/joystick.h"
#include "platform/window.h"
#include "platform/platform_win32.h"
#include "app/shell.h"

namespace {

constexpr const char* kClassName = "TaskBarController";
constexpr const char* kCaption = "ERROR!";

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // WM_CREATE arrives before CreateWindowExA returns the handle.
    if (message == WM_CREATE) platformMainWindow = window;
    if (HandleMainWindowMessage(message, UINT(wParam), UINT(lParam)) == SKIP_DEFAULT) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool DeviceDriverPresent()
{
    if (joyGetNumDevs() != 0) return true;
    PlatformMessageBox("no game-device installed", kCaption);
    return false;
}

bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) return false;
    platformInstance = instance;
    taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    return true;
}

// Creation loads the configuration, so bindings exist before any report.
HWND CreateMainWindow(HINSTANCE instance)
{
    HWND window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    platformMainWindow = window;
    return window;
}

// Reports at every polling period, changed or not, so held ends repeat.
MMRESULT Capture(HWND window, int port)
{
    PlatformJoyGetDevCaps(UINT(port), &joyCaps[port]);
    return joySetCapture(window, UINT(port), joyCaps[port].wPeriodMin, FALSE);
}

// One captured stick is enough to run.
bool CaptureSticks(HWND window, MMRESULT (&captured)[kPortCount])
{
    for (int port = 0; port < kPortCount; ++port) captured[port] = Capture(window, port);
    return captured[0] == JOYERR_NOERROR || captured[1] == JOYERR_NOERROR;
}

void RunMessageLoop()
{
    // Above normal, not real time: a one-shot wait or a long macro must not
    // be able to starve the rest of the system.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Shutdown(HWND window, HINSTANCE instance, const MMRESULT (&captured)[kPortCount])
{
    for (int port = 0; port < kPortCount; ++port) {
        if (captured[port] == JOYERR_NOERROR) joyReleaseCapture(UINT(port));
    }
    TrayDelete(window, TRAY_ICON_ID);
    UnregisterClassA(kClassName, instance);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (!DeviceDriverPresent()) return 0;
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance);

    MMRESULT captured[kPortCount];
    if (!CaptureSticks(window, captured)) {
        PlatformMessageBox("could not capture game-device", kCaption);
        DestroyWindow(window);
        UnregisterClassA(kClassName, instance);
        return 0;
    }

    if (window == nullptr) {
        PlatformMessageBox("could not install tray icon", kCaption);
    } else {
        AddProgramTrayIcon();
        RunMessageLoop();
    }
    Shutdown(window, instance, captured);
    return 0;
}
