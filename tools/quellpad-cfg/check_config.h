// What is odd about a configuration file: things the editor would never
// write, what the program makes of a file of the wrong size, and chunks after
// the settings that it passes over or finds damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/quellpad-cfg/config_image.h"

// The first findings in the order they were made, and a count of the rest:
// a file of millions of odd chunks costs no more than one of twenty.
struct Findings {
    static constexpr size_t kMaxShown = 20;
    std::vector<std::string> shown;
    uint64_t more = 0;

    bool Full() const { return shown.size() >= kMaxShown; }
    void Add(std::string finding)
    {
        if (Full()) {
            ++more;
        } else {
            shown.push_back(std::move(finding));
        }
    }
};

// One line per finding, each starting with the name of what it is about.
// image is the file as the program loaded it; size its length in bytes.
Findings CheckConfig(const ConfigImage& image, uint64_t size);
