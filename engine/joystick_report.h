// Turns each joystick report into press and release events on event slots.
#pragma once

#include <cstdint>

#include "config/mapping_table.h"
#include "engine/axes.h"
#include "platform/platform.h"

// Device capabilities per port, as joyGetDevCapsA last filled them.
extern JoyCaps joyCaps[kPortCount];

// Per axis, then per port: how far an axis must move or lie from an end to
// count ((max - min) * sensitivity / 100), and half the span for mouse speed.
struct AxisLimits {
    uint32_t threshold[kAxisCount][kPortCount];
    uint32_t centre[kAxisCount][kPortCount];
};
extern AxisLimits axisLimits;

// What each port's previous report held.
struct LastReport {
    uint32_t buttons;
    uint32_t position[kAxisCount];
    // Whether the last read of this port succeeded, so that the first failure
    // after a good read lets go of what the port still holds.
    bool readOk;
};
extern LastReport lastReport[kPortCount];

// Current pointer step of dynamic moves, shared by both ports.
struct MouseSpeed {
    int32_t horizontal = 8;
    int32_t vertical = 8;
};
extern MouseSpeed mouseSpeed;

// Refreshes both capability records and computes thresholds and centres.
void ComputeAxisLimits();
// Refreshes both capability records and recomputes the thresholds only.
void ComputeAxisThresholds();
// Reads the port's joystick and executes the bindings its changes fire.
void ProcessJoystickReport(int port);
