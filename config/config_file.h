// The 6724-byte configuration file: the MappingTable, then nine settings.
#pragma once

#include "config/file_layout.h"

#include <cstdint>

enum LoadOutcome : uint8_t {
    LOAD_ABANDONED,   // the table was short: it is cleared, the settings kept
    LOAD_READ,        // the table, and whatever settings the file holds
    LOAD_NOT_OPENED,  // no file: nothing changed
};

// Reads configPath into the live table and settings, reporting failures to
// the user. The caller computes the axis limits unless the load was abandoned.
LoadOutcome LoadConfig();

// Writes the live table and settings to configPath, reporting failures to
// the user; true when the file now holds them. The old file is replaced only
// once every byte of the new one was written, and never when it is
// read-only; the new one is written under a name nothing had before.
bool SaveConfig();

// SetDefaultConfigPath, then SaveConfig: what OK in the editor does.
bool SaveConfigToDefault();
