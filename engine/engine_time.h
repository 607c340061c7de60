// The engine's own time: the shell hands it the time of each report and
// asks it when it next needs to run without one, keeping one timer for that.
// Nothing blocks: what waits is a time to come back at.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "engine/engine_state.h"

// True, with at in the shell's clock (milliseconds), when the engine needs to
// run at that time even if no report comes; false when it does not.
bool EngineNextRun(const EngineState& engine, uint32_t& at);

// Runs what is due at now. The shell calls it when its timer fires; a report
// calls it first.
void RunEngineDue(EngineState& engine, const Configuration& config, uint32_t now);
