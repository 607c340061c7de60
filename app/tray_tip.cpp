#include "app/tray_tip.h"

#include <cstdio>
#include <cstring>

#include "app/running.h"
#include "app/shell.h"
#include "app/stick_ports.h"
#include "engine/layers.h"
#include "quellpad_version.h"

namespace {

int tipLayer;  // the toggled layer the tip names, 0 for none

}  // namespace

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
    tipLayer = TopToggledLayer(running.engine.layers);
    if (WaitingForSticks()) {
        std::snprintf(tip, kTitleSize, "%s - waiting for a joystick", QUELLPAD_TITLE);
        return;
    }
    RunningTitle(tip);
    if (tipLayer == 0) return;
    // Cut to fit, as the title with a profile is.
    const size_t length = strnlen(tip, kTitleSize);
    std::snprintf(tip + length, kTitleSize - length, " - layer %d", tipLayer & 7);
}

bool TipLayerChanged()
{
    return TopToggledLayer(running.engine.layers) != tipLayer;
}

void ShowRunningTip()
{
    char tip[kTitleSize];
    RunningTip(tip);
    SetProgramTrayTip(tip);
}
