// Capturing a joystick for the hidden main window, so that the driver posts
// its reports there.
#pragma once

#include <cstdint>

// joySetCapture for the main window with the change-only flag off, so the
// driver reports at every period whether or not anything changed: kJoyNoError
// or the driver's error code.
uint32_t PlatformJoySetCapture(uint32_t joystickId, uint32_t periodMs);
// joyReleaseCapture.
void PlatformJoyReleaseCapture(uint32_t joystickId);
