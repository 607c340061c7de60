// The six axes: where each is read, its range, and the slot each end fires.
#pragma once

#include <cstdint>

#include "config/mapping_table.h"
#include "platform/joystick.h"

constexpr int kAxisCount = 6;  // X, Y, Z, R, U, V, always in this order
constexpr int kAxisX = 0;
constexpr int kAxisY = 1;

// Y is the odd one out: its + slot is the raw minimum, which is "up" on a stick.
struct AxisWiring {
    uint32_t JoyInfoEx::*position;
    uint32_t JoyCaps::*min;
    uint32_t JoyCaps::*max;
    int maxSlot;
    int minSlot;
};
inline constexpr AxisWiring kAxes[kAxisCount] = {
    {&JoyInfoEx::dwXpos, &JoyCaps::wXmin, &JoyCaps::wXmax, SLOT_X_PLUS, SLOT_X_MINUS},
    {&JoyInfoEx::dwYpos, &JoyCaps::wYmin, &JoyCaps::wYmax, SLOT_Y_MINUS, SLOT_Y_PLUS},
    {&JoyInfoEx::dwZpos, &JoyCaps::wZmin, &JoyCaps::wZmax, SLOT_Z_PLUS, SLOT_Z_MINUS},
    {&JoyInfoEx::dwRpos, &JoyCaps::wRmin, &JoyCaps::wRmax, SLOT_R_PLUS, SLOT_R_MINUS},
    {&JoyInfoEx::dwUpos, &JoyCaps::wUmin, &JoyCaps::wUmax, SLOT_U_PLUS, SLOT_U_MINUS},
    {&JoyInfoEx::dwVpos, &JoyCaps::wVmin, &JoyCaps::wVmax, SLOT_V_PLUS, SLOT_V_MINUS},
};
