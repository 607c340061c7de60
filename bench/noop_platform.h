// A platform that does nothing but keep the joystick state and one in-memory
// file, so the benchmarks measure the engine and not a recorder.
#pragma once

#include <cstdint>

#include "platform/file_dialogs.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/window.h"

extern JoyCaps benchCaps[2];
extern JoyInfoEx benchState[2];
extern uint32_t benchKeyEvents;  // counted so the work cannot be optimised away
