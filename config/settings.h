// The nine global settings that shape timing, thresholds and mouse speed.
#pragma once

#include <cstdint>

// Values read from a file are used as they stand, also outside the ranges
// the editor keeps.
struct Settings {
    int32_t xStep = 8;         // horizontal mouse step; factor of the dynamic speed
    int32_t yStep = 8;         // vertical mouse step
    int32_t continuous = 0;    // 1: hold bindings while the event lasts; 0: one shot
    int32_t dynamic = 0;       // 1: moves use MouseSpeed instead of the steps
    int32_t toggleLock = 0;    // 1: single clicks toggle their button
    int32_t digital = 0;       // 1: MouseSpeed grows by the step each steady report
    int32_t dosMode = 0;       // 1: scan bytes come from OemKeyScan
    int32_t sensitivity = 20;  // percent of an axis range that counts as its end
    int32_t delay = 1;         // ms between press and release of a one-shot binding
};
