#include "app/main_window.h"

#include "app/commands.h"
#include "app/editor/editor_changes.h"
#include "app/messages.h"
#include "app/stick_ports.h"
#include "config/config_file.h"
#include "config/config_path.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/platform.h"
#include "platform/shell.h"

uint32_t taskbarCreatedMessage;

namespace {

// Nothing that the old bindings hold may outlive them; the limits follow
// the loaded settings, unless the load was abandoned and nothing was put back.
DefaultProcessing LoadConfigAndLimits()
{
    LetGoOfEverything();
    const LoadOutcome outcome = LoadConfig();
    const bool restored = outcome != LOAD_READ && RestoreCancelledEdits();
    if (outcome != LOAD_ABANDONED || restored) ComputeAxisLimits();
    return outcome == LOAD_ABANDONED ? SKIP_DEFAULT : RUN_DEFAULT;
}

}  // namespace

DefaultProcessing HandleMainWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    switch (message) {
    case kWmCreate:
        SetDefaultConfigPath();
        return LoadConfigAndLimits();
    case WM_RELOADCONFIG:
        return LoadConfigAndLimits();
    case kWmDestroy:
        // Every way out passes here: let go of what the bindings hold first.
        LetGoOfEverything();
        PlatformPostQuit();
        return RUN_DEFAULT;
    case kWmEndSession:
        if (wParam != 0) LetGoOfEverything();
        return RUN_DEFAULT;
    case kMmJoy1Move:
    case kMmJoy1ButtonDown:
    case kMmJoy1ButtonUp:
        HandleStickReport(0);
        return RUN_DEFAULT;
    case kMmJoy2Move:
    case kMmJoy2ButtonDown:
    case kMmJoy2ButtonUp:
        HandleStickReport(1);
        return RUN_DEFAULT;
    case kWmDeviceChange:
        CheckSticksSoon();
        return RUN_DEFAULT;
    case kWmPowerBroadcast:
        if (wParam == kPbtApmResumeAutomatic || wParam == kPbtApmResumeSuspend) CheckSticksSoon();
        return RUN_DEFAULT;
    case kWmTimer:
        if (wParam == STICK_WATCH_TIMER_ID) HandleStickWatch();
        return RUN_DEFAULT;
    case WM_TRAYNOTIFY:
        HandleTrayNotify(wParam & 0xFFFF, lParam & 0xFFFF);
        return RUN_DEFAULT;
    case WM_SHOWMAINMENU:
    case WM_SHOWCONFIGMENU:
        ShowMenu(message);
        return RUN_DEFAULT;
    case kWmCommand:
        HandleCommand(wParam & 0xFFFF);
        return RUN_DEFAULT;
    default:
        // A restarted Explorer forgets every icon; without ours the program
        // would run on with no way to reach it.
        if (message != 0 && message == taskbarCreatedMessage) AddProgramTrayIcon();
        return RUN_DEFAULT;
    }
}
