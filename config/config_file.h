// The configuration file: the MappingTable, then nine settings (6724 bytes),
// then the hat bindings' chunk when there are any.
#pragma once

#include "config/file_layout.h"

#include <cstdint>

enum LoadOutcome : uint8_t {
    LOAD_ABANDONED,   // the table was short: it is cleared, the settings kept
    LOAD_READ,        // the table, and whatever settings the file holds
    LOAD_NOT_OPENED,  // no file: nothing changed
};

// Whether a hat record is not all zero: only then does a file carry the
// hats' chunk.
bool AnyHatBinding(const ActionRecord (&hats)[kPortCount][kHatSlotCount]);

// Reads configPath into the live table and settings, reporting failures to
// the user. The caller computes the axis limits unless the load was abandoned.
LoadOutcome LoadConfig();

// Writes the live table and settings to configPath, reporting failures to
// the user; true when the file now holds them. The old file is replaced only
// once every byte of the new one was written, and never when it is
// read-only; the new one is written under a name nothing had before.
bool SaveConfig();

// SaveConfig with size more bytes after what it knows to write, in the same
// one file: how quellpad-cfg gives back chunks of a file byte for byte. An
// end from 6688 to 6723 instead ends the file there, inside the settings, as
// an older or damaged file may: the setting cut short gives its low bytes,
// and no hats or tail follow.
bool SaveConfigWithTail(const void* tail, uint32_t size, uint32_t end = kConfigFileSize);

// SetDefaultConfigPath, then SaveConfig: what OK in the editor does.
bool SaveConfigToDefault();
