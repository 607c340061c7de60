// The seam to synthesised input: key and mouse events and what they need.
#pragma once

#include <cstdint>

// Synthesised input. vk and scan are single bytes; flags as keybd_event.
void PlatformKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags);
// flags as mouse_event; dx, dy relative when flags is MOUSEEVENTF_MOVE.
void PlatformMouseEvent(uint32_t flags, int32_t dx, int32_t dy);
// A turn of the wheel: flags MOUSEEVENTF_WHEEL or MOUSEEVENTF_HWHEEL, delta
// in the mouse_event data word (120 a notch).
void PlatformMouseWheel(uint32_t flags, int32_t delta);
// MapVirtualKeyA(code, type).
uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t type);
// OemKeyScan(character).
uint32_t PlatformOemKeyScan(uint16_t character);
uint32_t PlatformGetDoubleClickTime();
void PlatformSleep(uint32_t milliseconds);
