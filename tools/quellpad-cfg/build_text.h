// The TOML form read back into a configuration, every byte of it.
#pragma once

#include <string_view>
#include <vector>

#include "tools/quellpad-cfg/config_image.h"
#include "tools/quellpad-cfg/diagnostic.h"

struct BuildResult {
    ConfigImage image;
    DiagnosticList errors;  // in text order; the image is only good when empty
};

// A setting left out keeps its initial value; a binding left out is all
// zero (off); within a binding, `on` left out is on and every other field
// left out is zero.
BuildResult BuildConfig(std::string_view text, std::string_view source);
