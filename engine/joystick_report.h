// Turns each joystick report into press and release events on event slots.
#pragma once

#include "config/configuration.h"
#include "engine/engine_state.h"

// Refreshes both capability records and computes thresholds and centres.
void ComputeAxisLimits(const Settings& settings);
// Refreshes both capability records and recomputes the thresholds only.
void ComputeAxisThresholds(const Settings& settings);
// Reads the port's joystick and executes the bindings of config that its
// changes fire.
void ProcessJoystickReport(const Configuration& config, int port);
// The same for a state read elsewhere (an Xbox controller's); nullptr for a
// read that failed.
void ProcessJoystickState(const Configuration& config, int port, const JoyInfoEx* report);
