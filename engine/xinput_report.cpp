#include "engine/xinput_report.h"

#include <cstdio>

#include "platform/input_codes.h"

namespace {

// In the order of the driver's numbering of these pads, then the guide.
constexpr uint16_t kButtonOrder[] = {kPadA,         kPadB,          kPadX,        kPadY,
                                     kPadLeftShoulder, kPadRightShoulder, kPadBack, kPadStart,
                                     kPadLeftThumb, kPadRightThumb, kPadGuide};
constexpr uint32_t kButtonCount = sizeof kButtonOrder / sizeof kButtonOrder[0];
constexpr uint32_t kAxisMax = 65535;
constexpr uint32_t kCentre = 32767;

uint32_t Across(int16_t thumb)
{
    return uint32_t(int32_t(thumb) + 32768);
}

// Up on the stick is the axis' minimum, as the driver gives it.
uint32_t Upward(int16_t thumb)
{
    return uint32_t(32767 - int32_t(thumb));
}

uint32_t Trigger(uint8_t pull)
{
    return kCentre + uint32_t(pull) * 32768 / 255;
}

// Opposite directions pressed together cancel each other.
uint32_t HatAngle(uint16_t buttons)
{
    const int up = (buttons & kPadDpadUp) != 0, down = (buttons & kPadDpadDown) != 0;
    const int left = (buttons & kPadDpadLeft) != 0, right = (buttons & kPadDpadRight) != 0;
    // Indexed by vertical (up 0, none 1, down 2) and horizontal (left 0, none 1, right 2).
    static constexpr uint32_t kAngles[3][3] = {
        {31500, 0, 4500}, {27000, kJoyPovCentered, 9000}, {22500, 18000, 13500}};
    return kAngles[1 - up + down][1 - left + right];
}

}  // namespace

void XInputReport(const XInputPad& pad, JoyInfoEx& info)
{
    info.dwXpos = Across(pad.sThumbLX);
    info.dwYpos = Upward(pad.sThumbLY);
    info.dwZpos = Trigger(pad.bLeftTrigger);
    info.dwRpos = Upward(pad.sThumbRY);
    info.dwUpos = Across(pad.sThumbRX);
    info.dwVpos = Trigger(pad.bRightTrigger);
    info.dwButtons = 0;
    info.dwButtonNumber = 0;
    for (uint32_t button = 0; button < kButtonCount; ++button) {
        if ((pad.wButtons & kButtonOrder[button]) == 0) continue;
        info.dwButtons |= 1u << button;
        ++info.dwButtonNumber;
    }
    info.dwPOV = HatAngle(pad.wButtons);
}

void XInputCaps(uint32_t userIndex, JoyCaps& caps)
{
    caps = JoyCaps{};
    caps.wMid = 0x045E;  // as Windows names an Xbox 360 controller
    caps.wPid = 0x028E;
    std::snprintf(caps.szPname, sizeof caps.szPname, "Xbox controller %u", unsigned(userIndex + 1));
    caps.wXmax = caps.wYmax = caps.wZmax = caps.wRmax = caps.wUmax = caps.wVmax = kAxisMax;
    caps.wNumButtons = caps.wMaxButtons = kButtonCount;
    caps.wNumAxes = caps.wMaxAxes = 6;
    caps.wPeriodMin = 10;  // the report timer's period
    caps.wPeriodMax = 1000;
    caps.wCaps = kJoyCapsHasZ | kJoyCapsHasR | kJoyCapsHasU | kJoyCapsHasV | kJoyCapsHasPov;
}
