// Letting go of everything the bindings hold, so that no key or mouse button
// stays down when a stick disappears or the program ends.
#pragma once

// Releases the buttons and hat directions the port last reported and, when
// bindings are held continuously, both ends of every axis.
void ReleasePort(int port);

// ReleasePort for both ports, then every mouse button a toggle lock holds.
void ReleaseHeldInput();
