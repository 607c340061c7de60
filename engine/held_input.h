// Letting go of everything the bindings hold, so that no key or mouse button
// stays down when a stick disappears or the program ends.
#pragma once

#include <cstdint>

#include "engine/action_execution.h"

// Executes the bindings of the buttons in mask, in ascending slot order.
void ExecuteButtons(int port, uint32_t mask, ActionPhase phase);

// Releases the buttons the port last reported and, when bindings are held
// continuously, both ends of every axis.
void ReleasePort(int port);

// ReleasePort for both ports, then every mouse button a toggle lock holds.
void ReleaseHeldInput();
