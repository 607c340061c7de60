// The platform as quellpad-cfg sees it: configuration files on the real disk,
// joysticks fed from a trace, and every key, mouse event and wait recorded
// instead of reaching the desktop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/mapping_table.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/joystick.h"

struct ToolEvent {
    enum Kind : uint8_t { Key, Mouse, Wheel, Sleep } kind;
    uint32_t a;  // Key: virtual key. Mouse, Wheel: flags. Sleep: milliseconds.
    uint32_t b;  // Key: scan byte.
    uint32_t c;  // Key: flags.
    int32_t dx;  // Mouse: dx. Wheel: delta.
    int32_t dy;
};

struct ToolPlatform {
    std::vector<ToolEvent> events;
    JoyCaps caps[kPortCount];
    JoyInfoEx state[kPortCount];
    bool lost[kPortCount];  // the port's reads fail, as an unplugged stick's do
    uint32_t doubleClickTime;
};
extern ToolPlatform toolPlatform;

// A machine with no joystick, a 500 ms double-click time and an empty log.
void ResetToolPlatform();

// Whether a and b name one existing file, also through another path or a
// hard link: the same device and file number.
bool SameFile(const std::string& a, const std::string& b);

// What path is when it exists and is no regular file, such as "a FIFO" or
// "a link" (a link is never followed); empty otherwise. A save renames its
// new file over the target, so it would replace a device, a FIFO or a link
// with a regular file.
std::string NotARegularFile(const std::string& path);
