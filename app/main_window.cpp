#include "app/main_window.h"

#include <cstring>

#include "app/commands.h"
#include "app/engine_timer.h"
#include "app/messages.h"
#include "app/profiles.h"
#include "app/tray_tip.h"
#include "app/running_config.h"
#include "app/shell.h"
#include "app/stick_ports.h"
#include "config/config_path.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/window.h"

uint32_t taskbarCreatedMessage;

namespace {

DefaultProcessing Dispatch(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    switch (message) {
    case kWmCreate: {
        DefaultConfigPath(running.configPath);
        std::memcpy(running.basePath, running.configPath, kPathSize);
        const DefaultProcessing processing = ReloadConfig();
        StartWatchingForeground();
        return processing;
    }
    case WM_RELOADCONFIG:
        return ReloadConfig();
    case WM_FOREGROUNDCHANGED:
        ForegroundMayHaveChanged();
        return RUN_DEFAULT;
    case kWmTimer:
        if (wParam == kTimerSettleFront) SettleTimerFired();
        if (wParam == kTimerPollFront) ForegroundMayHaveChanged();
        if (wParam == STICK_WATCH_TIMER_ID) HandleStickWatch();
        if (wParam == XINPUT_REPORT_TIMER_ID) PollOnMainThread();
        if (wParam == ENGINE_TIMER_ID) HandleEngineTimer();
        return RUN_DEFAULT;
    case WM_PADCHANGED:
        HandlePolledReports();
        return RUN_DEFAULT;
    case kWmDestroy:
        // No tick may post to a window that is going away.
        StopPolling();
        StopWatchingForeground();
        // Every way out passes here: let go of what the bindings hold first.
        LetGoOfEverything(running.engine);
        PlatformPostQuit();
        return RUN_DEFAULT;
    case kWmEndSession:
        if (wParam != 0) LetGoOfEverything(running.engine);
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

}  // namespace

DefaultProcessing HandleMainWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam)
{
    const DefaultProcessing processing = Dispatch(message, wParam, lParam);
    ReportPolledPortsWhereChanged();
    // Whatever ran the engine (a report of any kind, a reload letting go of
    // what repeats) may have moved the time it next needs to run.
    ScheduleEngine();
    // The ports say when a stick's coming or going changed the tip, the
    // engine's layers when one was toggled; what the tip says is the shell's.
    if (stickPorts.tipChanged || TipLayerChanged()) {
        stickPorts.tipChanged = false;
        ShowRunningTip();
    }
    return processing;
}
