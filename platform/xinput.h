// The seam to XInput, through which a port may read an Xbox controller
// instead of the joystick driver. The library is loaded at run time, so the
// program still starts on systems that have none.
#pragma once

#include <cstdint>

// One controller's state, as XInputGetState fills XINPUT_GAMEPAD; the guide
// button arrives only where the library's ordinal 100 gives it.
struct XInputPad {
    uint16_t wButtons;
    uint8_t bLeftTrigger;
    uint8_t bRightTrigger;
    int16_t sThumbLX;
    int16_t sThumbLY;
    int16_t sThumbRX;
    int16_t sThumbRY;
};
static_assert(sizeof(XInputPad) == 12, "same layout as XINPUT_GAMEPAD");

// XINPUT_GAMEPAD button bits, and the guide button of ordinal 100.
constexpr uint16_t kPadDpadUp = 0x0001;
constexpr uint16_t kPadDpadDown = 0x0002;
constexpr uint16_t kPadDpadLeft = 0x0004;
constexpr uint16_t kPadDpadRight = 0x0008;
constexpr uint16_t kPadStart = 0x0010;
constexpr uint16_t kPadBack = 0x0020;
constexpr uint16_t kPadLeftThumb = 0x0040;
constexpr uint16_t kPadRightThumb = 0x0080;
constexpr uint16_t kPadLeftShoulder = 0x0100;
constexpr uint16_t kPadRightShoulder = 0x0200;
constexpr uint16_t kPadGuide = 0x0400;
constexpr uint16_t kPadA = 0x1000;
constexpr uint16_t kPadB = 0x2000;
constexpr uint16_t kPadX = 0x4000;
constexpr uint16_t kPadY = 0x8000;

enum XInputRead : uint8_t {
    XINPUT_READ_OK,
    XINPUT_NOT_CONNECTED,  // ERROR_DEVICE_NOT_CONNECTED, or an index past 3
    XINPUT_NO_LIBRARY,     // none of xinput1_4, xinput1_3, xinput9_1_0 loads
};

// The state of the controller of user index 0..3.
XInputRead PlatformXInputGetState(uint32_t userIndex, XInputPad* pad);
