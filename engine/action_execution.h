// Carries out one binding: modifiers, key, text macro and mouse action.
#pragma once

#include <cstdint>

#include "config/mapping_table.h"

// Press or release; the value doubles as the key event's flag word.
enum ActionPhase : uint32_t {
    PHASE_PRESS = 0,
    PHASE_RELEASE = 2,
};

void ExecuteAction(const ActionRecord& record, ActionPhase phase);
