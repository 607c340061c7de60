// The bindings: for each joystick port and event slot, what the event does.
#pragma once

#include <cstdint>

constexpr int kPortCount = 2;
constexpr int kSlotCount = 44;  // the slots of the 6724-byte file
constexpr int kButtonSlotCount = 32;
constexpr int kHatSlotCount = 4;
constexpr int kAllSlotCount = kSlotCount + kHatSlotCount;  // 48
constexpr int kTextSize = 40;

// Event slots within one port: 0..31 are buttons 1..32, then two per axis,
// then the four directions of the hat.
enum EventSlot : int {
    SLOT_X_PLUS = 32,
    SLOT_X_MINUS,
    SLOT_Y_PLUS,  // the raw minimum of Y: up on most sticks
    SLOT_Y_MINUS,
    SLOT_Z_PLUS,
    SLOT_Z_MINUS,
    SLOT_R_PLUS,
    SLOT_R_MINUS,
    SLOT_U_PLUS,
    SLOT_U_MINUS,
    SLOT_V_PLUS,
    SLOT_V_MINUS,
    SLOT_HAT_UP = 44,  // in hat direction order: up, right, down, left
    SLOT_HAT_RIGHT,
    SLOT_HAT_DOWN,
    SLOT_HAT_LEFT,
};
static_assert(SLOT_HAT_LEFT + 1 == kAllSlotCount);

// One binding, stored in the configuration file exactly as laid out here.
// `on` counts when non-zero; every other flag only when it equals 1.
struct ActionRecord {
    int32_t on;
    int32_t shift;
    int32_t control;
    int32_t alt;
    int32_t sendKey;
    int32_t keyCode;
    int32_t sendText;
    char text[kTextSize];  // zero-terminated when written by the editor
    int32_t sendMouse;
    int32_t mouseAction;
};
static_assert(sizeof(ActionRecord) == 76, "ActionRecord is 76 bytes on disk");
