// What runs: the one configuration the reports act on and the file it came
// from, owned here and replaced only through ReloadConfig.
#pragma once

#include "app/main_window.h"
#include "config/config_path.h"
#include "config/configuration.h"
#include "engine/engine_state.h"

struct Running {
    Configuration config;
    char configPath[kPathSize];  // the current file, zero-terminated UTF-8
    // What runs when no profile does: the default file, or what Load ... or
    // Save as ... chose last.
    char basePath[kPathSize];
    // The application whose profile runs, as its executable's name without
    // extension; empty while the base runs.
    char profile[kPathSize];
    // The engine's state that the reports act on: the program's one instance,
    // and whether the main window's timer for it is set.
    EngineState engine;
    bool engineTimerSet;
};
extern Running running;

// The one step at which what runs changes: lets go of what the old bindings
// hold (a button still held presses its new binding at the next report), puts
// value in place, moves the ports to its sources and, unless told
// not to (a load abandoned on a short table), computes the limits.
void PutConfigInPlace(const Configuration& value, bool computeLimits = true);

// Reads configPath into a value, tells the user what went wrong, then lets go
// of what the old bindings hold, puts the value in place and computes the
// limits. Nothing changes before the messages have been answered: reports
// during them act on what ran before. A load that cannot read the file puts
// fallback in place instead, when there is one (Cancel's copy of what the
// editor started from). Only a load abandoned on a short table skips the
// limits and the default processing.
DefaultProcessing ReloadConfig(const Configuration* fallback = nullptr);

// Saves what runs to configPath, telling the user of a failure; true when the
// file now holds it.
bool SaveRunningConfig();
