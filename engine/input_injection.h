// The lowest layer of the engine: key codes and mouse actions become events.
#pragma once

#include <cstdint>

#include "config/settings.h"
#include "engine/action_phase.h"
#include "engine/engine_state.h"

// Mouse action codes as stored in a binding.
enum MouseAction : int32_t {
    MOUSE_MOVE_UP = 0,
    MOUSE_MOVE_DOWN,
    MOUSE_MOVE_LEFT,
    MOUSE_MOVE_RIGHT,
    MOUSE_LEFT_CLICK,
    MOUSE_LEFT_DOUBLE_CLICK,
    MOUSE_MIDDLE_CLICK,
    MOUSE_MIDDLE_DOUBLE_CLICK,
    MOUSE_RIGHT_CLICK,
    MOUSE_RIGHT_DOUBLE_CLICK,
    MOUSE_WHEEL_UP,  // a notch at the press; at the release only under toggle lock
    MOUSE_WHEEL_DOWN,
    MOUSE_WHEEL_LEFT,
    MOUSE_WHEEL_RIGHT,
};

// Sends a key transition: the low 8 bits are the virtual key, and a press of
// a code from 65 to 91 is wrapped in Shift.
void InjectKey(EngineState& engine, const Settings& settings, int32_t keyCode, ActionPhase phase);
void InjectMouseAction(EngineState& engine, const Settings& settings, int32_t action, ActionPhase phase);
