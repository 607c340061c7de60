// What the hidden main window does with each message it receives.
#pragma once

#include <cstdint>

// The shell's "TaskbarCreated" message, registered at start-up; 0 until then.
extern uint32_t taskbarCreatedMessage;

// Handles one message of the main window. Returns false when the default
// processing must be skipped (a load abandoned on a short file).
bool HandleMainWindowMessage(uint32_t message, uint32_t wParam, uint32_t lParam);

// Puts the program's icon into the notification area. Defined by the
// Windows shell; start-up and a restarted taskbar call it.
void AddProgramTrayIcon();
