// Sticks as drivers describe them, shared by the soak and the fuzzer.
#pragma once

#include <cstdint>

#include "platform/joystick.h"

struct StickRange {
    uint32_t min, max;
    bool allAxes;  // false: only X and Y, the others have no range
};

// None plugged in, full 16-bit, only X and Y, an offset range, a reversed
// one, the whole 32-bit span, 8-bit, and a single step.
inline constexpr StickRange kStickRanges[8] = {
    {0, 0, true},          {0, 65535, true}, {0, 65535, false}, {100, 1100, true},
    {65535, 0, true},      {0, UINT32_MAX, true}, {0, 255, true}, {0, 1, true},
};

inline void SetStickRange(JoyCaps& caps, const StickRange& r)
{
    caps = JoyCaps{};
    caps.wXmin = caps.wYmin = r.min;
    caps.wXmax = caps.wYmax = r.max;
    if (r.allAxes) {
        caps.wZmin = caps.wRmin = caps.wUmin = caps.wVmin = r.min;
        caps.wZmax = caps.wRmax = caps.wUmax = caps.wVmax = r.max;
    }
}
