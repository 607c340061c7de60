// The record of held output: every key and mouse button event the program
// injects passes through here, so it knows what is down right now, and which
// binding holds it, and can let go of exactly that.
#pragma once

#include <cstdint>

// Sends a key event and keeps the record; flags as keybd_event.
void SendKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags);
// Sends a mouse event and keeps the record of its buttons; flags as mouse_event.
void SendMouseEvent(uint32_t flags, int32_t dx, int32_t dy);

// The binding whose events follow, or -1, -1 for none.
void SetActingBinding(int port, int slot);

// Letting go sends the up of what the record holds, last down first, and
// nothing else: no binding runs. Letting go of a mouse button clears its
// toggle state, and each port that held something forgets its pressed
// buttons (a slot only its own), so a button still held presses its current
// binding again at the next report.
void LetGoOfEverything();
// What the port alone holds: a key that the other port holds too stays down.
void LetGoOfPort(int port);
// What one slot alone holds.
void LetGoOfSlot(int port, int slot);
// Every mouse button that is down: what the toggle lock holds.
void LetGoOfMouseButtons();
