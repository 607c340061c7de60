// Start-up and shutdown of the tray program, step by step in the order they
// run: device check, class, window, capture, tray, loop, shutdown. Which
// ports hold a stick, then and later, is app/stick_ports.cpp's business.
#include <windows.h>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/shell.h"
#include "app/stick_ports.h"
#include "app/tray.h"
#include "config/config_path.h"
#include "platform/platform_win32.h"
#include "platform/window.h"

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

void Shutdown(HWND window, HINSTANCE instance)
{
    ReleaseSticks();
    TrayDelete(window, TRAY_ICON_ID);
    UnregisterClassA(kClassName, instance);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // A port that reads an Xbox controller needs no joystick driver.
    char configPath[kPathSize];
    DefaultConfigPath(configPath);
    if (!GameDevicePresent(configPath)) return 0;
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance);

    // One captured stick is enough to run; with /wait none is.
    if (!CaptureSticksAtStart(WaitForSticksRequested(commandLine))) {
        DestroyWindow(window);
        UnregisterClassA(kClassName, instance);
        return 0;
    }

    if (window == nullptr) {
        PlatformMessageBox("could not install tray icon", kCaption);
    } else {
        AddProgramTrayIcon();
        StartPolling();
        RunMessageLoop();
    }
    Shutdown(window, instance);
    return 0;
}
