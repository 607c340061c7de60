// Carries out one binding: modifiers, key, text macro and mouse action.
#pragma once

#include <cstdint>

#include "config/mapping_table.h"
#include "engine/action_phase.h"

void ExecuteAction(const ActionRecord& record, ActionPhase phase);

// Executes the bindings of the buttons in mask, in ascending slot order.
void ExecuteButtons(int port, uint32_t mask, ActionPhase phase);
