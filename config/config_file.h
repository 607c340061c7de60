// The 6724-byte configuration file: the MappingTable, then nine settings.
#pragma once

#include <cstdint>

constexpr uint32_t kConfigFileSize = 6724;

// Reads configPath into the live table and settings, then computes the axis
// limits. Returns false only when the load was abandoned on a short table
// (the table is then cleared and the limits are left alone).
bool LoadConfig();

// Writes the live table and settings to configPath. The old file is replaced
// only once every byte of the new one was written.
void SaveConfig();

// SetDefaultConfigPath, then SaveConfig: what OK in the editor does.
void SaveConfigToDefault();
