// The record of held output: every key and mouse button event the program
// injects passes through here, so it knows what is down right now, and which
// binding holds it, and can let go of exactly that.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"
#include "platform/input.h"
#include "platform/input_codes.h"

// Inline, as they sit on the report path: a press of every slot must cost
// next to nothing more than the events themselves.

// The binding whose events follow, or -1, -1 for none.
inline void SetActingBinding(HeldRecord& heldRecord, int port, int slot)
{
    heldRecord.actingPort = port;
    heldRecord.actingSlot = slot;
}

// A repeated down is the last down from now on; its holders add up.
inline void RecordDown(HeldRecord& heldRecord, HeldOutput& held, uint8_t scan, uint32_t flags)
{
    held.order = ++heldRecord.downs;
    held.scan = scan;
    held.flags = flags;
    if (heldRecord.actingPort >= 0)
        held.holders[heldRecord.actingPort] |= uint64_t(1) << heldRecord.actingSlot;
}

inline void RecordUp(HeldOutput& held)
{
    held.order = 0;
    held.holders[0] = held.holders[1] = 0;
}

// Sends a key event and keeps the record; flags as keybd_event.
inline void SendKeyEvent(EngineState& engine, uint8_t vk, uint8_t scan, uint32_t flags)
{
    HeldRecord& heldRecord = engine.heldRecord;
    PlatformKeyEvent(vk, scan, flags);
    if ((flags & kKeyEventKeyUp) != 0) {
        RecordUp(heldRecord.key[vk]);
    } else {
        RecordDown(heldRecord, heldRecord.key[vk], scan, flags);
    }
}

// Sends a mouse event and keeps the record of its buttons; flags as mouse_event.
inline void SendMouseEvent(EngineState& engine, uint32_t flags, int32_t dx, int32_t dy)
{
    HeldRecord& heldRecord = engine.heldRecord;
    PlatformMouseEvent(flags, dx, dy);
    constexpr uint32_t kDown[3] = {kMouseLeftDown, kMouseMiddleDown, kMouseRightDown};
    constexpr uint32_t kUp[3] = {kMouseLeftUp, kMouseMiddleUp, kMouseRightUp};
    for (int i = 0; i < 3; ++i) {
        if ((flags & kDown[i]) != 0) RecordDown(heldRecord, heldRecord.mouse[i], 0, 0);
        if ((flags & kUp[i]) != 0) RecordUp(heldRecord.mouse[i]);
    }
}

// Letting go sends the up of what the record holds, last down first, and
// nothing else: no binding runs. Letting go of a mouse button clears its
// toggle state, and each port that held something forgets its pressed
// buttons (a slot only its own), so a button still held presses its current
// binding again at the next report.
void LetGoOfEverything(EngineState& engine);
// A new table in place: everything goes up, and both ports forget every
// pressed slot, whether it held something or not, so that each button and hat
// direction still held presses its new binding at the next report, and an axis
// end still held presses it at its next steady report.
void LetGoForNewBindings(EngineState& engine);
// The port's slots (bit s for slot s) count as not pressed: a button or hat
// direction still held presses anew at the next report.
void ForgetPressedSlots(EngineState& engine, int port, uint64_t slots);
// What the port alone holds: a key that the other port holds too stays down.
// Every slot of the port counts as not pressed afterwards.
void LetGoOfPort(EngineState& engine, int port);
// What one slot alone holds.
void LetGoOfSlot(EngineState& engine, int port, int slot);
// What the given slots of both ports alone hold (bit s for slot s).
void LetGoOfSlots(EngineState& engine, uint64_t slots);
// Every mouse button that is down: what the toggle lock holds.
void LetGoOfMouseButtons(EngineState& engine);
