// The configuration file: the MappingTable, then nine settings (6724 bytes),
// then the hat bindings' chunk when there are any.
#pragma once

#include "config/file_layout.h"

// Reads configPath into the live table and settings. Returns false only when
// the load was abandoned on a short table (the table is then cleared); the
// caller computes the axis limits after any other outcome.
bool LoadConfig();

// Writes the live table and settings to configPath. The old file is replaced
// only once every byte of the new one was written.
void SaveConfig();

// SetDefaultConfigPath, then SaveConfig: what OK in the editor does.
void SaveConfigToDefault();
