// Which binding a change of a slot acts on: a release acts on what pressed.
#pragma once

#include <cstdint>

#include "config/configuration.h"
#include "engine/action_phase.h"
#include "engine/engine_state.h"

// The slots of one port by kind, as bits of PressedBindings::slots.
constexpr uint64_t kButtonSlots = 0xFFFFFFFFu;
constexpr uint64_t kAxisEndSlots = uint64_t(0xFFF) << SLOT_X_PLUS;
constexpr uint64_t kHatSlots = uint64_t(0xF) << SLOT_HAT_UP;

// A press of a slot not pressed acts on the table's binding and keeps where
// it is; while the slot stays pressed, a repeated press (an axis end held
// under continuous) and its release act on that binding. A release of a slot
// that is not pressed (the middle of an axis lets go of both ends) acts on the
// table's. table is the slot's record in the table the report acts on.
// Inline: it runs for every change of every report.
inline const ActionRecord& ResolveBinding(PressedBindings& pressed, const ActionRecord& table, int port,
                                          int slot, ActionPhase phase)
{
    const uint64_t bit = uint64_t(1) << slot;
    if ((pressed.slots[port] & bit) != 0) {
        if (phase == PHASE_RELEASE) pressed.slots[port] &= ~bit;
        return *pressed.binding[port][slot];
    }
    if (phase == PHASE_RELEASE) return table;
    pressed.slots[port] |= bit;
    pressed.binding[port][slot] = &table;
    return table;
}
