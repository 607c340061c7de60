// One whole configuration as a file holds it: the value the program loads
// and saves, and every byte after what the program's writer writes, so that
// the tool can compare two files and give each back whole.
#pragma once

#include <cstdint>
#include <string>

#include "config/config_file.h"
#include "config/configuration.h"

struct ConfigImage : Configuration {
    // The file's bytes after what the program's writer writes for this
    // configuration (the 6724 bytes, then its chunks), kept as they are so
    // that every file comes back whole.
    std::string fileTail;
    // The port sources, hat bindings, layers and behaviours were read from
    // chunks inside fileTail rather than from those the writer puts first
    // (another order, or other chunks among them); writing then leaves them
    // to it.
    bool chunksInFileTail = false;
    // The length of a file that ends inside the settings, 6688 to 6723 bytes
    // (its settings past the end keep their initial values); 0 for a file of
    // the 6724 bytes and more.
    uint32_t fileEnd = 0;
};

// What the program's writer puts after the 6724 bytes for this
// configuration: each chunk of the table that has something to say, in the
// table's order.
std::string WrittenChunks(const Configuration& config);

// Reads path as the program does at start-up: the start state, then the load.
LoadOutcome LoadImage(const std::string& path, ConfigImage& image);

// Writes image to path through the program's save: beside the target first,
// then swapped in, with the file tail added before the swap.
SaveOutcome SaveImage(const ConfigImage& image, const std::string& path);
