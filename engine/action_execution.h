// Carries out one binding: modifiers, key, text macro and mouse action.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "engine/action_phase.h"
#include "engine/engine_state.h"
#include "engine/held_input.h"

void ExecuteAction(EngineState& engine, const ActionRecord& record, const Settings& settings,
                   ActionPhase phase);

// Executes a binding on behalf of one port's event slot; every binding the
// reports fire goes through here, so what it holds is known by port and slot.
// The slot stays the acting binding until the next one, or until the caller
// (a report, once at its end) clears it. Inline, as it runs for every change
// of every report.
inline void ExecuteBinding(EngineState& engine, const ActionRecord& binding, const Settings& settings,
                           int port, int slot, ActionPhase phase)
{
    SetActingBinding(engine.heldRecord, port, slot);
    ExecuteAction(engine, binding, settings, phase);
}
