// One whole configuration as a value: what a file holds, what the editor
// edits and what the reports act on. Copying is an assignment, and a
// default-constructed one is the state the program starts in.
#pragma once

#include "config/mapping_table.h"
#include "config/settings.h"

#include <cstdint>

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
