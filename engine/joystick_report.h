// Turns each joystick report into press and release events on event slots.
#pragma once

#include "config/configuration.h"
#include "engine/engine_state.h"

// Refreshes both capability records and computes thresholds and centres.
void ComputeAxisLimits(EngineState& engine, const Settings& settings);
// Refreshes both capability records and recomputes the thresholds only.
void ComputeAxisThresholds(EngineState& engine, const Settings& settings);
// Reads the port's joystick and executes the bindings of config that its
// changes fire, in three steps: detect what changed against the port's last
// report, resolve the binding each change acts on (a release acts on what
// pressed), execute it. now is the shell's clock, in milliseconds.
void ProcessJoystickReport(EngineState& engine, const Configuration& config, int port, uint32_t now);
// The same for a state read elsewhere (an Xbox controller's); nullptr for a
// read that failed.
void ProcessJoystickState(EngineState& engine, const Configuration& config, int port, const JoyInfoEx* report,
                          uint32_t now);

// For a stick that comes or comes back on one port, which may be another
// stick than the one before: that port's thresholds and centres from its
// capability record as it stands (the caller has just filled it).
void ComputePortLimits(EngineState& engine, const Settings& settings, int port);
// The port's next report compares against zero positions with nothing
// pressed, as the very first report does.
void ForgetPortReport(EngineState& engine, int port);
// What a failed read does to the port: the first failure after a good read
// lets go of what the stick held, and a stick that answers again presses its
// held buttons and hat anew.
void LetGoOfLostStick(EngineState& engine, int port);

// Whether the port's report, asked before it is processed, will want another
// at the report period even if nothing changes: an axis held at an end
// repeats its binding at every report, and an axis still moving (by its
// threshold or more since the last report) fires an end, or lets go in the
// middle, only on a report where it stands still. A port that the program
// reads itself is reported otherwise only when it changes.
bool ReportWantsFollowUp(const EngineState& engine, int port, const JoyInfoEx& report);
