// An Xbox controller read through XInput: what each state becomes as a report,
// and both triggers held at once.
#include <gtest/gtest.h>

#include "engine/joystick_report.h"
#include "engine/xinput_report.h"
#include "tests/fake_platform.h"

namespace {

struct PadCase {
    const char* name;
    XInputPad pad;
    uint32_t x, y, z, r, u, v, buttons, pov;
};

constexpr uint32_t kMid = 32767, kMax = 65535, kOff = 0xFFFF;

// clang-format off
const PadCase kPadCases[] = {
    {"at rest",                 {},                           32768, kMid, kMid, kMid, 32768, kMid, 0, kOff},
    {"A B X Y are 1 to 4",      {kPadA | kPadB | kPadX | kPadY}, 32768, kMid, kMid, kMid, 32768, kMid, 0xF, kOff},
    {"LB RB Back Start 5 to 8", {kPadLeftShoulder | kPadRightShoulder | kPadBack | kPadStart},
                                                              32768, kMid, kMid, kMid, 32768, kMid, 0xF0, kOff},
    {"the sticks 9 and 10, guide 11", {kPadLeftThumb | kPadRightThumb | kPadGuide},
                                                              32768, kMid, kMid, kMid, 32768, kMid, 0x700, kOff},
    {"triggers at 1 leave the centre", {0, 1, 1},              32768, kMid, 32895, kMid, 32768, 32895, 0, kOff},
    {"triggers at 254",         {0, 254, 254},                32768, kMid, 65406, kMid, 32768, 65406, 0, kOff},
    {"triggers fully pulled reach the maximum", {0, 255, 255}, 32768, kMid, kMax, kMid, 32768, kMax, 0, kOff},
    {"left stick left and up: X and Y at their minimum", {0, 0, 0, -32768, 32767}, 0, 0, kMid, kMid, 32768, kMid, 0, kOff},
    {"left stick right and down",  {0, 0, 0, 32767, -32768},   kMax, kMax, kMid, kMid, 32768, kMid, 0, kOff},
    {"right stick on U and R, up at R's minimum", {0, 0, 0, 0, 0, -32768, 32767}, 32768, kMid, kMid, 0, 0, kMid, 0, kOff},
    {"d-pad up",                {kPadDpadUp},                 32768, kMid, kMid, kMid, 32768, kMid, 0, 0},
    {"up and right",            {kPadDpadUp | kPadDpadRight}, 32768, kMid, kMid, kMid, 32768, kMid, 0, 4500},
    {"right",                   {kPadDpadRight},              32768, kMid, kMid, kMid, 32768, kMid, 0, 9000},
    {"down and right",          {kPadDpadDown | kPadDpadRight}, 32768, kMid, kMid, kMid, 32768, kMid, 0, 13500},
    {"down",                    {kPadDpadDown},               32768, kMid, kMid, kMid, 32768, kMid, 0, 18000},
    {"down and left",           {kPadDpadDown | kPadDpadLeft}, 32768, kMid, kMid, kMid, 32768, kMid, 0, 22500},
    {"left",                    {kPadDpadLeft},               32768, kMid, kMid, kMid, 32768, kMid, 0, 27000},
    {"up and left",             {kPadDpadUp | kPadDpadLeft},  32768, kMid, kMid, kMid, 32768, kMid, 0, 31500},
    {"up and down cancel",      {kPadDpadUp | kPadDpadDown},  32768, kMid, kMid, kMid, 32768, kMid, 0, kOff},
    {"all four cancel",         {0x000F},                     32768, kMid, kMid, kMid, 32768, kMid, 0, kOff},
    {"left and right leave up", {kPadDpadUp | kPadDpadLeft | kPadDpadRight}, 32768, kMid, kMid, kMid, 32768, kMid, 0, 0},
};
// clang-format on

TEST(XInputReport, EachStateAsTheDriverWouldReportIt)
{
    for (const PadCase& c : kPadCases) {
        SCOPED_TRACE(c.name);
        JoyInfoEx info = {};
        XInputReport(c.pad, info);
        EXPECT_EQ(info.dwXpos, c.x);
        EXPECT_EQ(info.dwYpos, c.y);
        EXPECT_EQ(info.dwZpos, c.z);
        EXPECT_EQ(info.dwRpos, c.r);
        EXPECT_EQ(info.dwUpos, c.u);
        EXPECT_EQ(info.dwVpos, c.v);
        EXPECT_EQ(info.dwButtons, c.buttons);
        EXPECT_EQ(info.dwPOV, c.pov);
    }
}

// Aim and shoot: the left trigger holds the right button, the right trigger
// the left one, both at once; letting go of the triggers lets go of both.
TEST(XInputReport, BothTriggersHeldAtOnce)
{
    ResetProgramState();
    XInputCaps(0, fake.caps[0]);
    running.config.settings.continuous = 1;
    Binding(running.config, 0, SLOT_Z_PLUS) = {.on = 1, .sendMouse = 1, .mouseAction = 8};  // right click
    Binding(running.config, 0, SLOT_V_PLUS) = {.on = 1, .sendMouse = 1, .mouseAction = 4};  // left click
    ComputeAxisLimits(running.engine, running.config.settings);
    JoyInfoEx info = {};
    for (const uint8_t pull : {0, 255, 255, 0, 0}) {  // an end counts once the trigger rests there
        XInputReport({0, pull, pull}, info);
        ProcessJoystickState(running.engine, running.config, 0, &info, fake.tickCount);
    }
    EXPECT_EQ(Events(), (EventList{MouseFlag(RIGHTDOWN), MouseFlag(LEFTDOWN), MouseFlag(RIGHTUP), MouseFlag(LEFTUP)}));
}

}  // namespace
