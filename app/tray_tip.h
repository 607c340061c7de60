// What the tray tip and the editor's caption say runs. The words are made
// here; the tray (app/tray.cpp) shows them.
#pragma once

#include "config/config_path.h"

constexpr int kTitleSize = kPathSize + 32;

// The product for the base, "product - NAME" while NAME's profile runs.
void RunningTitle(char (&title)[kTitleSize]);
// The tray tip: the title, then " - layer N" while layer N is toggled on;
// or while a program started with /wait has no stick yet, "product -
// waiting for a joystick".
void RunningTip(char (&tip)[kTitleSize]);
// A layer toggled on since the tip was last made, or off: the tip names the
// topmost toggled layer, "product - layer 2".
bool TipLayerChanged();
// Shows RunningTip on the icon.
void ShowRunningTip();
