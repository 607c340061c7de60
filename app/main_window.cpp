#include "app/main_window.h"

#include "app/commands.h"
#include "app/messages.h"
#include "config/config_file.h"
#include "config/config_path.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/platform.h"

uint32_t taskbarCreatedMessage;

bool HandleMainWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    switch (message) {
    case WM_CREATE:
        SetDefaultConfigPath();
        return LoadConfig();
    case WM_RELOADCONFIG:
        return LoadConfig();
    case WM_DESTROY:
        // Every way out passes here: let go of what the bindings hold first.
        ReleaseHeldInput();
        PlatformPostQuit();
        return true;
    case WM_ENDSESSION:
        if (wParam != 0) ReleaseHeldInput();
        return true;
    case MM_JOY1MOVE:
    case MM_JOY1BUTTONDOWN:
    case MM_JOY1BUTTONUP:
        ProcessJoystickReport(0);
        return true;
    case MM_JOY2MOVE:
    case MM_JOY2BUTTONDOWN:
    case MM_JOY2BUTTONUP:
        ProcessJoystickReport(1);
        return true;
    case WM_TRAYNOTIFY:
        HandleTrayNotify(wParam & 0xFFFF, lParam & 0xFFFF);
        return true;
    case WM_SHOWMAINMENU:
    case WM_SHOWCONFIGMENU:
        ShowMenu(message);
        return true;
    case WM_COMMAND:
        HandleCommand(wParam & 0xFFFF);
        return true;
    default:
        // A restarted Explorer forgets every icon; without ours the program
        // would run on with no way to reach it.
        if (message != 0 && message == taskbarCreatedMessage) AddProgramTrayIcon();
        return true;
    }
}
