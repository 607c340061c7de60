// The engine's runtime state, handed to each of its functions. Whoever runs
// the engine owns an instance (the shell the program's one); a fresh value is
// the start state, so add new state here, inside EngineState.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "engine/axes.h"
#include "platform/joystick.h"

// Per axis, then per port: how far an axis must move or lie from an end to
// count ((max - min) * sensitivity / 100), and half the span for mouse speed.
struct AxisLimits {
    uint32_t threshold[kAxisCount][kPortCount];
    uint32_t centre[kAxisCount][kPortCount];
};

// What each port's previous report held.
struct LastReport {
    uint32_t buttons;
    uint32_t position[kAxisCount];
    uint32_t hats;  // bit d: hat direction d held (up 0, right 1, down 2, left 3)
    // Whether the last read of this port succeeded, so that the first failure
    // after a good read lets go of what the port still holds.
    bool readOk;
};

// Current pointer step of dynamic moves, shared by both ports. Written by
// the report processing, read by the mouse injection.
struct MouseSpeed {
    int32_t horizontal = 8;
    int32_t vertical = 8;
};

// Toggle state of the left, middle and right button, shared by every
// single-click binding of both ports and never reset while running.
struct ButtonToggle {
    int32_t left;
    int32_t middle;
    int32_t right;
};

// One key or mouse button: whether and when it went down, with what, and
// the bindings that hold it (bit s of holders[p] for port p, slot s).
struct HeldOutput {
    uint64_t order;  // the down's place in the sequence of downs; 0 while up
    uint8_t scan;
    uint32_t flags;  // the down's flags
    uint64_t holders[kPortCount];
};

// What is down: every virtual key and the left, middle and right button,
// each found by its own index so the report path never searches.
struct HeldRecord {
    HeldOutput key[256];
    HeldOutput mouse[3];
    uint64_t downs;           // downs so far, to order them
    int32_t actingPort = -1;  // the binding being executed, -1 for none
    int32_t actingSlot = -1;
};

// Fills a port's capability record anew.
using CapsReader = void (*)(int port, JoyCaps& caps);

// The slots still pressed, each with the binding that pressed it: its
// release, and a press repeated while it is held, act on that binding
// whatever table the reports act on by then. A table put in place by
// assignment forgets every pressed slot first (LetGoForNewBindings), so each
// binding stays where it was found. The editor changes one binding in place,
// after letting go of what its slot holds: a slot that held nothing then
// releases the edited binding, as it always did.
struct PressedBindings {
    uint64_t slots[kPortCount];  // bit s: slot s
    const ActionRecord* binding[kPortCount][kAllSlotCount];
    // Pressed with a layer action or turbo: its release goes through the
    // layers' and the timers' code. Only such a slot has its behaviour kept.
    uint64_t behaving[kPortCount];
    SlotBehaviour behaviour[kPortCount][kAllSlotCount];
    // Axis ends held as zones (a layer key or turbo on an end): held from the
    // first report that fires them until one outside their zone.
    uint64_t heldZones[kPortCount];
};

// The layers that are on, the latest on top; the base lies under them all.
struct LayerStack {
    uint8_t order[kLayerCount];  // layer numbers 1..7, bottom first
    uint8_t count;
    uint8_t holders[kLayerCount + 1];  // "while held" keys down, per layer
    uint8_t toggled;                   // bit n: layer n toggled on
};

// What runs without a report: turbo pulses and the ends of taps, per slot.
struct SlotTimers {
    uint64_t turbo[kPortCount];  // bit s: slot s repeats
    uint64_t tap[kPortCount];    // bit s: slot s's tap goes up at tapUpAt
    uint32_t turboStart[kPortCount][kAllSlotCount];
    uint32_t turboPulses[kPortCount][kAllSlotCount];  // half periods done
    uint32_t tapUpAt[kPortCount][kAllSlotCount];
    const ActionRecord* tapBinding[kPortCount][kAllSlotCount];
    // "While held" layer keys with a binding, pressed since pressedAt with no
    // other slot pressed meanwhile: a release within 200 ms taps the binding.
    uint64_t tapCandidates[kPortCount];
    uint32_t pressedAt[kPortCount][kAllSlotCount];
};

// When the engine next wants to run without a report, in the shell's clock:
// the soonest of the slot timers, kept up to date whenever they change so
// that a report asks one flag instead of going through them.
struct EngineWake {
    bool pending;
    uint32_t at;
};

struct EngineState {
    JoyCaps joyCaps[kPortCount];  // as the port's controller last filled them
    // How the limits refresh a port's record: the shell points it at what the
    // port reads; unset, the joystick driver's record is read.
    CapsReader readCaps;
    AxisLimits axisLimits;
    LastReport lastReport[kPortCount];
    MouseSpeed mouseSpeed;
    ButtonToggle buttonToggle;
    HeldRecord heldRecord;
    PressedBindings pressed;
    LayerStack layers;
    SlotTimers timers;
    EngineWake wake;
};
