#include "app/tray_tip.h"

#include <cstdio>

#include "app/running_config.h"
#include "app/shell.h"
#include "app/stick_ports.h"
#include "quellpad_version.h"

void RunningTitle(char (&title)[kTitleSize])
{
    if (running.profile[0] == '\0') {
        std::snprintf(title, kTitleSize, "%s", QUELLPAD_TITLE);
    } else {
        std::snprintf(title, kTitleSize, "%s - %s", QUELLPAD_TITLE, running.profile);
    }
}

void RunningTip(char (&tip)[kTitleSize])
{
    if (WaitingForSticks()) {
        std::snprintf(tip, kTitleSize, "%s - waiting for a joystick", QUELLPAD_TITLE);
    } else {
        RunningTitle(tip);
    }
}

void ShowRunningTip()
{
    char tip[kTitleSize];
    RunningTip(tip);
    SetProgramTrayTip(tip);
}
