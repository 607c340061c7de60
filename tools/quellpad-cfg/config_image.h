// One whole configuration, held apart from the live state so that the tool
// can compare two of them, and moved in and out of files by the program's own
// reader and writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/mapping_table.h"
#include "config/settings.h"

struct ConfigImage {
    ActionRecord table[kPortCount][kSlotCount] = {};
    Settings settings;  // the initial values until something says otherwise
};

struct LoadResult {
    bool opened = false;
    std::vector<std::string> messages;  // what the program would have shown
};

// Reads path as the program does at start-up: initial state, then LoadConfig.
// The live table and settings are left as loaded, ready for the engine.
LoadResult LoadImage(const std::string& path, ConfigImage& image);

// Writes image to path through SaveConfig: beside the target first, then
// swapped in. Returns the program's messages, empty when the file was written.
std::vector<std::string> SaveImage(const ConfigImage& image, const std::string& path);
