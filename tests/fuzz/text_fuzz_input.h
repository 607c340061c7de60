// The text readers of quellpad-cfg under fuzzing: build's TOML reader and
// simulate's trace reader. Shared by the libFuzzer targets and the tool's
// native test that replays their corpora. Each takes the input as the text of
// a file and returns what went wrong, or nullptr; memory errors and undefined
// behaviour are the sanitizers' to catch.
#pragma once

#include <cstddef>
#include <cstdint>

// Builds the text. Its messages must be safe for a terminal and bounded; a
// text that builds must show and build again to the same configuration.
const char* RunTomlFuzzInput(const uint8_t* data, size_t size);

// Reads the trace. Its messages must be safe and bounded as build's; a trace
// that reads runs through the engine with a configuration that binds every
// kind of action, and what simulate prints must be safe for a terminal too.
const char* RunTraceFuzzInput(const uint8_t* data, size_t size);
