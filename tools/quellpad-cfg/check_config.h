// What is odd about a configuration file: things the editor would never
// write, what the program makes of a file of the wrong size, and chunks after
// the settings that it passes over or finds damaged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/quellpad-cfg/config_image.h"

// One line per finding, each starting with the name of what it is about.
// image is the file as the program loaded it; size its length in bytes.
std::vector<std::string> CheckConfig(const ConfigImage& image, uint64_t size);
