// Turns each joystick report into press and release events on event slots.
#pragma once

#include "engine/engine_state.h"

// Refreshes both capability records and computes thresholds and centres.
void ComputeAxisLimits();
// Refreshes both capability records and recomputes the thresholds only.
void ComputeAxisThresholds();
// Reads the port's joystick and executes the bindings its changes fire.
void ProcessJoystickReport(int port);
