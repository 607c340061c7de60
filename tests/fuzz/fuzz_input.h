// One fuzz input: a configuration file and a short script of joystick reports,
// run against the recording fake. Shared by the libFuzzer target, the seed
// maker and the native test that replays kept inputs.
//
// Layout of an input:
//   bytes 0..1  little-endian length of the configuration file that follows;
//               0xFFFF means there is no file at all
//   then        the file's bytes (the length is cut to what the input holds
//               and to kMaxFuzzConfigSize)
//   then        the script: one byte of stick capabilities (port 0 in the low
//               nibble, port 1 in the high one), one byte of double-click
//               time, then operations until the bytes or kMaxFuzzOperations
//               run out (see ScriptOp)
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr uint16_t kNoFuzzConfigFile = 0xFFFF;
// The fake keeps files of up to 16 KiB; anything past the first 6724 bytes is
// never read anyway.
constexpr size_t kMaxFuzzConfigSize = 8192;
constexpr int kMaxFuzzOperations = 64;

// Operation byte: the low three bits choose what happens, bit 3 the port.
enum ScriptOp : uint8_t {
    OP_REPORT = 0,          // then 6 axis bytes (see AxisPick), buttons kept
    OP_REPORT_BUTTONS = 1,  // then 4 bytes of button mask, 2 of hat angle (0xFFFF centred), 6 axis bytes
    OP_REST = 2,            // no button, every axis at its centre, the hat centred
    OP_REPEAT = 3,          // the port reports the same state again
    OP_FAIL_READ = 4,       // the read fails, as with an unplugged stick
    OP_NEW_CAPS = 5,        // then 1 byte: another stick on this port, limits recomputed
    OP_SETTING = 6,         // then 2 bytes: which setting and its new value
    OP_RELOAD = 7,          // bit 3 clear: LoadConfig again; set: LetGoOfEverything
};

// Axis byte: the low three bits choose the position.
enum AxisPick : uint8_t {
    AXIS_MIN = 0,
    AXIS_MAX = 1,
    AXIS_CENTRE = 2,
    AXIS_KEEP = 3,
    AXIS_NEAR_MIN = 4,  // min + the high five bits
    AXIS_NEAR_MAX = 5,  // max - the high five bits
    AXIS_16 = 6,        // then 2 bytes: a raw 16-bit position
    AXIS_32 = 7,        // then 4 bytes: a raw 32-bit position
};

// Assembles an input; file == nullptr means no file at all.
std::vector<uint8_t> MakeFuzzInput(const std::vector<uint8_t>* file, const std::vector<uint8_t>& script);

// Runs one input from a clean program state. Returns what went wrong when a
// whole file does not save back byte for byte (its hats' chunk only when it
// has hat bindings), when the hats' chunk right after the settings is not
// read, or when a file too short for the table leaves a binding behind;
// nullptr otherwise.
// Memory errors and undefined behaviour are the sanitizers' to catch.
const char* RunFuzzInput(const uint8_t* data, size_t size);
