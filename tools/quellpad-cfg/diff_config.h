// The settings and binding fields in which two configurations differ.
#pragma once

#include <string>
#include <vector>

#include "tools/quellpad-cfg/config_image.h"

// One line per difference, "name: old -> new", in the order of the dump.
std::vector<std::string> DiffConfigs(const ConfigImage& a, const ConfigImage& b);
