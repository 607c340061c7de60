// What the hidden main window does with each message it receives.
#pragma once

#include <cstdint>

#include "app/messages.h"

// The shell's "TaskbarCreated" message, registered at start-up; 0 until then.
extern uint32_t taskbarCreatedMessage;


// Handles one message of the main window. Only a load abandoned on a short
// file skips the default processing.
DefaultProcessing HandleMainWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam);
