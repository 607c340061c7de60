// Whether a binding is being pressed or released.
#pragma once

#include <cstdint>

// The value doubles as the single key's key-event flag word (0 down, 2 up).
enum ActionPhase : uint32_t {
    PHASE_PRESS = 0,
    PHASE_RELEASE = 2,
};
