// What runs: the one configuration the reports act on, the file it came
// from, and the engine's state, owned here and replaced only through
// app/running_config.h. The ports keep theirs in app/stick_ports.h, the
// profile watch in app/profiles.cpp; every part of the shell reads these.
#pragma once

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
    uint32_t engineTimerAt;  // the time it was set for
};
extern Running running;
