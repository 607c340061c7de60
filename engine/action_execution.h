// Carries out one binding: modifiers, key, text macro and mouse action.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "engine/action_phase.h"
#include "engine/engine_state.h"

void ExecuteAction(EngineState& engine, const ActionRecord& record, const Settings& settings, ActionPhase phase);

// Executes the binding of one port's event slot; every binding the reports
// fire goes through here, so what it holds is known by port and slot.
void ExecuteBinding(EngineState& engine, const Configuration& config, int port, int slot, ActionPhase phase);

// Executes the bindings of the buttons in mask, in ascending slot order.
void ExecuteButtons(EngineState& engine, const Configuration& config, int port, uint32_t mask, ActionPhase phase);
// Executes the bindings of the hat directions in mask (bit 0 up, 1 right,
// 2 down, 3 left), in that order.
void ExecuteHats(EngineState& engine, const Configuration& config, int port, uint32_t mask, ActionPhase phase);
