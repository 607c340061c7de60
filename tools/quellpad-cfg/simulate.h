// A configuration put through the real engine with a joystick trace, and the
// input it would send printed instead of sent.
#pragma once

#include <ostream>
#include <string>

#include "tools/quellpad-cfg/joystick_trace.h"
#include "tools/quellpad-cfg/tool_platform.h"

// One event as a line: key down "cursor right", mouse move +8 0, sleep 1.
std::string FormatEvent(const ToolEvent& event);

// Starts the program's state afresh with the trace's capabilities, loads
// configPath as the program does at start-up, then hands each step of the
// trace to the engine and prints what it sent to out, step by step as it
// goes. False, with nothing printed, when the file could not be opened.
bool Simulate(const std::string& configPath, const Trace& trace, uint32_t doubleClickTime, std::ostream& out);
