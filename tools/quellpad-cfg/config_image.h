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
    ActionRecord hats[kPortCount][kHatSlotCount] = {};
    Settings settings;  // the initial values until something says otherwise
    // The file's bytes after what the program's writer writes for this
    // configuration (the 6724 bytes, then the hats' chunk when there are
    // hat bindings), kept as they are so that every file comes back whole.
    std::string fileTail;
    // The hat bindings were read from a chunk inside fileTail rather than
    // from the one the writer puts first; writing then leaves them to it.
    bool hatsInFileTail = false;
    // The length of a file that ends inside the settings, 6688 to 6723 bytes
    // (its settings past the end keep their initial values); 0 for a file of
    // the 6724 bytes and more.
    uint32_t fileEnd = 0;
};

// The binding of any slot 0..47 of a port.
ActionRecord& Record(ConfigImage& image, int port, int slot);
const ActionRecord& Record(const ConfigImage& image, int port, int slot);

// What the program's writer puts after the 6724 bytes for these hat
// bindings: nothing, or the HATS chunk.
std::string WrittenChunks(const ActionRecord (&hats)[kPortCount][kHatSlotCount]);

struct LoadResult {
    bool opened = false;
    std::vector<std::string> messages;  // what the program would have shown
};

// Reads path as the program does at start-up: initial state, then LoadConfig.
// The live table and settings are left as loaded, ready for the engine.
LoadResult LoadImage(const std::string& path, ConfigImage& image);

// Writes image to path through SaveConfig: beside the target first, then
// swapped in, with the file tail added before the swap. Returns the
// program's messages, empty when the file was written.
std::vector<std::string> SaveImage(const ConfigImage& image, const std::string& path);
