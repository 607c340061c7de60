// One whole configuration as a value: what a file holds, what the editor
// edits and what the reports act on. Copying is an assignment, and a
// default-constructed one is the state the program starts in.
#pragma once

#include "config/mapping_table.h"
#include "config/settings.h"

#include <cstdint>

// Layers above the base: a held or toggled layer key switches the whole set
// of bindings of both ports.
constexpr int kLayerCount = 7;

// What a slot does to the layers, besides its binding.
enum LayerAction : uint8_t {
    LAYER_ACTION_NONE = 0,
    LAYER_WHILE_HELD = 1,  // the target is on from the press to the release
    LAYER_TOGGLE = 2,      // each press turns the target on or off
};
constexpr uint16_t kTurboMin = 20, kTurboMax = 1000;  // ms

// A slot's behaviour in one layer (0 the base).
struct SlotBehaviour {
    uint8_t layerAction;  // LayerAction
    uint8_t layerTarget;  // 1..7 with an action, 0 without
    uint16_t turbo;       // the binding repeats every turbo ms while held; 0 off
};

struct Configuration {
    // Port-major: record of port p, slot s at byte p * 3344 + s * 76.
    ActionRecord MappingTable[kPortCount][kSlotCount] = {};
    // The hat slots, kept apart because the file holds them in a chunk of
    // their own after the 6724 bytes. Port-major like the table.
    ActionRecord HatTable[kPortCount][kHatSlotCount] = {};
    Settings settings;
    // What each port reads: 0 the joystick driver (joystick 1 or 2), 1 to 4
    // the Xbox controller of that XInput user index.
    uint8_t portSource[kPortCount] = {};
    // Layers 1..7 (index 0 is layer 1): whole tables like the base, both
    // ports and all 48 slots each.
    ActionRecord layers[kLayerCount][kPortCount][kAllSlotCount] = {};
    // Each slot's behaviour per layer: index 0 the base, 1..7 the layers.
    SlotBehaviour behaviour[kLayerCount + 1][kPortCount][kAllSlotCount] = {};
};
static_assert(sizeof(Configuration::MappingTable) == 6688, "MappingTable is 6688 bytes on disk");

// The binding of any slot 0..47 of a port.
inline ActionRecord& Binding(Configuration& config, int port, int slot)
{
    return slot < kSlotCount ? config.MappingTable[port][slot] : config.HatTable[port][slot - kSlotCount];
}
inline const ActionRecord& Binding(const Configuration& config, int port, int slot)
{
    return slot < kSlotCount ? config.MappingTable[port][slot] : config.HatTable[port][slot - kSlotCount];
}

// The binding of a slot in layer 0 (the base) to 7.
inline ActionRecord& LayerBinding(Configuration& config, int layer, int port, int slot)
{
    return layer == 0 ? Binding(config, port, slot) : config.layers[layer - 1][port][slot];
}
inline const ActionRecord& LayerBinding(const Configuration& config, int layer, int port, int slot)
{
    return layer == 0 ? Binding(config, port, slot) : config.layers[layer - 1][port][slot];
}
