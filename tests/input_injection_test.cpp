// Key codes and mouse actions down to single events: the Shift wrap, where
// scan bytes come from, moves, clicks and the toggle lock.
#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "engine/action_execution.h"
#include "engine/input_injection.h"
#include "engine/joystick_report.h"
#include "tests/fake_platform.h"

namespace {

const Event kShiftDown = KeyDown(16, 42), kShiftUp = KeyUp(16, 42, 3);

struct KeyCase {
    const char* name;
    int32_t keyCode;
    ActionPhase phase;
    int32_t dosMode;
    EventList expected;
};

TEST(InjectKey, ShiftWrapAndScanByte)
{
    const KeyCase cases[] = {
        {"capital A is wrapped at press", 65, PHASE_PRESS, 0, {kShiftDown, KeyDown(65, 0xA1), kShiftUp}},
        {"capital A is released alone", 65, PHASE_RELEASE, 0, {KeyUp(65, 0xA1)}},
        {"small a is the A key without Shift", 321, PHASE_PRESS, 0, {KeyDown(65, 0xA1)}},
        {"small a release", 321, PHASE_RELEASE, 0, {KeyUp(65, 0xA1)}},
        {"91 is wrapped", 91, PHASE_PRESS, 0, {kShiftDown, KeyDown(91, 0), kShiftUp}},
        {"64 is not", 64, PHASE_PRESS, 0, {KeyDown(64, 0)}},
        {"92 is not", 92, PHASE_PRESS, 0, {KeyDown(92, 0)}},
        {"no key chosen sends 255", -1, PHASE_PRESS, 0, {KeyDown(255, 0xFE)}},
        {"character look-up, not scan code", 112, PHASE_PRESS, 0, {KeyDown(112, 0xF1)}},
        {"dosMode looks F1 up as the character p", 112, PHASE_PRESS, 1, {KeyDown(112, 115)}},
        {"dosMode looks small a up by its low byte", 321, PHASE_RELEASE, 1, {KeyUp(65, 68)}},
        {"dosMode: any non-zero counts", -1, PHASE_PRESS, 2, {KeyDown(255, 2)}},
        {"dosMode: no key for the character gives 255", 81, PHASE_PRESS, 1, {kShiftDown, KeyDown(81, 255), kShiftUp}},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        // Look-ups with high bits set, so only their low byte may reach the event.
        fake.mapType2[65] = 0x3A1;
        fake.mapType2[112] = 0x2F1;
        fake.mapType2[255] = 0x1FE;
        fake.oemScan[81] = 0xFFFFFFFF;
        running.config.settings.dosMode = c.dosMode;
        InjectKey(running.engine, running.config.settings, c.keyCode, c.phase);
        EXPECT_EQ(Events(), c.expected);
    }
}

struct MouseCase {
    const char* name;
    Settings settings;
    MouseSpeed speed;
    uint32_t doubleClickTime;
    int32_t action;
    const char* phases;  // P press, R release, L toggle lock switched on
    EventList expected;
};

TEST(InjectMouseAction, MovesClicksAndToggleLock)
{
    const EventList leftDouble = {MouseFlag(LEFTDOWN), MouseFlag(LEFTUP), Slept(250), MouseFlag(LEFTDOWN),
                                  MouseFlag(LEFTUP)};
    const EventList middleDouble = {MouseFlag(MIDDLEDOWN), MouseFlag(MIDDLEUP), Slept(250), MouseFlag(MIDDLEDOWN),
                                    MouseFlag(MIDDLEUP)};
    const EventList rightDouble = {MouseFlag(RIGHTDOWN), MouseFlag(RIGHTUP), Slept(250), MouseFlag(RIGHTDOWN),
                                   MouseFlag(RIGHTUP)};
    const Event ld = MouseFlag(LEFTDOWN), lu = MouseFlag(LEFTUP);
    const Event rd = MouseFlag(RIGHTDOWN), ru = MouseFlag(RIGHTUP);
    const Settings steps{.xStep = 8, .yStep = 5};
    const Settings dynamic{.xStep = 8, .yStep = 5, .dynamic = 1};
    const Settings locked{.xStep = 8, .yStep = 5, .toggleLock = 1};
    constexpr int32_t kMin = INT32_MIN;
    const MouseCase cases[] = {
        {"move up, step", steps, {}, 500, 0, "PR", {MouseMove(0, -5)}},
        {"move down, step", steps, {}, 500, 1, "PR", {MouseMove(0, 5)}},
        {"move left, step", steps, {}, 500, 2, "PR", {MouseMove(-8, 0)}},
        {"move right, step", steps, {}, 500, 3, "PR", {MouseMove(8, 0)}},
        {"dynamic: right uses the horizontal speed", dynamic, {3, 0}, 500, 3, "P", {MouseMove(3, 0)}},
        {"dynamic: a speed of 0 still moves", dynamic, {3, 0}, 500, 0, "P", {MouseMove(0, 0)}},
        {"dynamic 2 counts as on", {.dynamic = 2}, {-4, 9}, 500, 2, "P", {MouseMove(4, 0)}},
        {"smallest step up", {.yStep = kMin}, {}, 500, 0, "P", {MouseMove(0, kMin)}},
        {"smallest speed left", {.dynamic = 1}, {kMin, 0}, 500, 2, "P", {MouseMove(kMin, 0)}},
        {"action 99 does nothing", steps, {}, 500, 99, "PRLPR", {}},
        {"action -1 does nothing", steps, {}, 500, -1, "PRLPR", {}},
        {"left click", steps, {}, 500, 4, "PR", {ld, lu}},
        {"middle click", steps, {}, 500, 6, "PR", {MouseFlag(MIDDLEDOWN), MouseFlag(MIDDLEUP)}},
        {"right click twice", steps, {}, 500, 8, "PRPR", {rd, ru, rd, ru}},
        {"left double click at press only", steps, {}, 500, 5, "PR", leftDouble},
        {"middle double click, odd time rounds down", steps, {}, 501, 7, "PR", middleDouble},
        {"right double click", steps, {}, 500, 9, "PR", rightDouble},
        {"toggle lock from start", locked, {}, 500, 8, "PRPRPRPR", {ru, rd, rd, ru, ru, rd, rd, ru}},
        {"toggle lock: move at press and release", locked, {}, 500, 0, "PR", {MouseMove(0, -5), MouseMove(0, -5)}},
        {"toggle lock: double click twice per cycle", locked, {}, 500, 7, "PR", Seq(middleDouble, middleDouble)},
        {"toggle lock after a plain click starts with a plain cycle", steps, {}, 500, 4, "PRLPRPR",
         {ld, lu, ld, lu, lu, ld}},
        {"toggle lock 2: press toggles, release is plain", {.toggleLock = 2}, {}, 500, 4, "PRPR", {lu, lu, ld, lu}},
        {"wheel up: a notch at the press only", steps, {}, 500, 10, "PR", {Wheel(WHEEL, 120)}},
        {"wheel down", steps, {}, 500, 11, "PR", {Wheel(WHEEL, -120)}},
        {"wheel left", steps, {}, 500, 12, "PR", {Wheel(HWHEEL, -120)}},
        {"wheel right", steps, {}, 500, 13, "PR", {Wheel(HWHEEL, 120)}},
        {"toggle lock: the wheel turns at the release too", locked, {}, 500, 11, "PR",
         {Wheel(WHEEL, -120), Wheel(WHEEL, -120)}},
    };
    for (const MouseCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        running.config.settings = c.settings;
        running.engine.mouseSpeed = c.speed;
        fake.doubleClickTime = c.doubleClickTime;
        for (const char* p = c.phases; *p != '\0'; ++p) {
            if (*p == 'L') running.config.settings.toggleLock = 1;
            else InjectMouseAction(running.engine, running.config.settings, c.action, *p == 'P' ? PHASE_PRESS : PHASE_RELEASE);
        }
        EXPECT_EQ(Events(), c.expected);
    }
}

// Every left-click binding, of either port, drives the one left button
// state; the right button keeps a state of its own.
TEST(InjectMouseAction, ClickBindingsShareTheirButtonsToggle)
{
    ResetProgramState();
    running.config.settings.toggleLock = 1;
    ActionRecord& left1 = running.config.MappingTable[0][3];
    ActionRecord& left2 = running.config.MappingTable[1][SLOT_V_MINUS];
    ActionRecord& right = running.config.MappingTable[0][4];
    left1 = left2 = ActionRecord{.on = 1, .sendMouse = 1, .mouseAction = MOUSE_LEFT_CLICK};
    right = ActionRecord{.on = 1, .sendMouse = 1, .mouseAction = MOUSE_RIGHT_CLICK};
    const std::pair<ActionRecord*, ActionPhase> steps[] = {
        {&left1, PHASE_PRESS}, {&right, PHASE_PRESS},   {&left2, PHASE_PRESS}, {&left2, PHASE_RELEASE},
        {&left1, PHASE_RELEASE}, {&left2, PHASE_PRESS}, {&left2, PHASE_RELEASE},
    };
    for (const auto& [record, phase] : steps) ExecuteAction(running.engine, *record, running.config.settings, phase);
    EXPECT_EQ(Events(), EventList({MouseFlag(LEFTUP), MouseFlag(RIGHTUP), MouseFlag(LEFTDOWN), MouseFlag(LEFTUP),
                                   MouseFlag(LEFTUP), MouseFlag(LEFTUP), MouseFlag(LEFTDOWN)}));
}

}  // namespace
