// Joystick reports: button edges, axis ends, limits, mouse speed, and a stick
// that stops answering.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <utility>

#include "app/running_config.h"
#include "engine/engine_time.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "tests/fake_platform.h"

namespace {

constexpr uint32_t kMid = 32767, kMax = 65535;

// Every slot of both ports types a key of its own (no Shift, scan 0), so the
// log names the port and slot that fired.
int32_t KeyOf(int port, int slot) { return (port == 0 ? 128 : 180) + slot; }
Event P(int slot, int port = 0) { return KeyDown(uint32_t(KeyOf(port, slot)), 0); }
Event R(int slot, int port = 0) { return KeyUp(uint32_t(KeyOf(port, slot)), 0); }
EventList Fire(int slot, uint32_t ms = 1, int port = 0) { return {P(slot, port), Slept(ms), R(slot, port)}; }
// Between the ends with continuous on: the maximum-end slot, then the minimum-end one.
const EventList kBetweenX = {R(32), R(33)};
const EventList kBetweenY = {R(35), R(34)};

void BindAll()
{
    for (int port = 0; port < kPortCount; ++port) {
        for (int slot = 0; slot < kAllSlotCount; ++slot) {
            Binding(running.config, port, slot) = ActionRecord{.on = 1, .sendKey = 1, .keyCode = KeyOf(port, slot)};
        }
    }
}

// Both ports get X and Y spanning 0..range; Z..V too, or left without range.
void SetRanges(uint32_t range, bool allAxes, bool hat = false)
{
    for (JoyCaps& caps : fake.caps) {
        caps.wCaps = hat ? 0x10 : 0;  // JOYCAPS_HASPOV
        caps.wXmax = caps.wYmax = range;
        if (allAxes) caps.wZmax = caps.wRmax = caps.wUmax = caps.wVmax = range;
    }
    ComputeAxisLimits(running.engine, running.config.settings);
}

struct Stick {
    uint32_t buttons = 0;
    uint32_t x = kMid, y = kMid, z = kMid, r = kMid, u = kMid, v = kMid;
    uint32_t hat = 65535;  // centred
    bool lost = false;  // the read fails, as with an unplugged stick
    // Acts on another table, every slot bound to key 99, without letting go,
    // as a switch of tables would.
    bool rebound = false;
};
const Stick kRest{};
const Stick kZero{.x = 0, .y = 0, .z = 0, .r = 0, .u = 0, .v = 0};
const Stick kLost{.lost = true};

void Report(const Stick& s, int port = 0)
{
    Configuration rebound = running.config;
    for (int slot = 0; slot < kAllSlotCount; ++slot) Binding(rebound, port, slot).keyCode = 99;
    fake.posResult[port] = s.lost ? 167 : 0;  // JOYERR_UNPLUGGED
    JoyInfoEx& st = fake.state[port];
    st.dwButtons = s.buttons;
    st.dwXpos = s.x, st.dwYpos = s.y, st.dwZpos = s.z, st.dwRpos = s.r, st.dwUpos = s.u, st.dwVpos = s.v;
    st.dwPOV = s.hat;
    ProcessJoystickReport(running.engine, s.rebound ? rebound : running.config, port, fake.tickCount);
}

struct ReportCase {
    const char* name;
    Settings settings;
    uint32_t range;
    bool allAxes;
    std::vector<Stick> reports;
    EventList expected;
    bool hat = false;  // the sticks report a hat in their capabilities
    bool xMinusClicks = false;  // X- clicks the left button instead
};

TEST(JoystickReport, ReportSequencesFireTheRightSlotsInOrder)
{
    const ReportCase cases[] = {
        {"first report near the centre is not steady", {.continuous = 1}, kMax, true, {kRest}, {}},
        {"first report compares against zero positions", {}, kMax, true, {kZero},
         Seq(Fire(33), Fire(34), Fire(37), Fire(39), Fire(41), Fire(43))},
        {"each axis fires its own slot, in axis order", {}, kMax, true,
         {kRest, {.x = kMax, .y = 0, .z = kMax, .r = 0, .u = kMax, .v = 0},
          {.x = kMax, .y = 0, .z = kMax, .r = 0, .u = kMax, .v = 0}},
         Seq(Fire(32), Fire(34), Fire(36), Fire(39), Fire(40), Fire(43))},
        {"one shot repeats at every report, waiting delay", {.delay = 7}, kMax, false,
         {kRest, {.x = kMax}, {.x = kMax}, {.x = kMax}}, Seq(Fire(32, 7), Fire(32, 7))},
        {"negative delay waits nothing", {.delay = -5}, kMax, false, {kRest, {.x = kMax}, {.x = kMax}}, Fire(32, 0)},
        {"continuous presses at the end, releases both ends between", {.continuous = 1}, kMax, false,
         {kRest, kRest, {.x = kMax}, {.x = kMax}, {.x = kMax}, kRest, kRest, kRest},
         Seq(kBetweenX, kBetweenY, kBetweenY, P(32), kBetweenY, P(32), kBetweenY, kBetweenY, kBetweenX, kBetweenY,
             kBetweenX, kBetweenY)},
        {"continuous 2 holds at the end while the stick answers; a lost stick lets go", {.continuous = 2}, kMax,
         false, {kRest, kRest, {.x = kMax}, {.x = kMax}, {.x = kMax}, kRest, kRest, kLost}, {P(32), P(32), R(32)}},
        {"Y minimum is Y+, maximum is Y-", {}, kMax, false, {kRest, {.y = 0}, {.y = 0}, {.y = kMax}, {.y = kMax}},
         Seq(Fire(34), Fire(35))},
        {"positions of 2^31 and more: the difference is taken signed", {}, kMax, false,
         {{.x = 0xFFFFFFF0u}, {.x = 0x80000000u}, {.x = 0x80000000u}}, Seq(Fire(33))},
        {"a move of the threshold is not steady; the end zone is strict", {}, kMax, false,
         {kRest, {.x = 52428}, {.x = 52428}, {.x = kMax}, {.x = 52429}}, Fire(32)},
        {"sensitivity 60: every position fires, the overlap is the maximum end", {.sensitivity = 60}, kMax, false,
         {kRest, {.x = 20000, .y = 20000}, {.x = 26214, .y = 26215}},
         Seq(Fire(32), Fire(35), Fire(33), Fire(34), Fire(33), Fire(35))},
        {"sensitivity 60, continuous: an end first releases the other end, as the middle would",
         {.continuous = 1, .sensitivity = 60}, kMax, false, {kRest, {.x = 0}, {.x = 0}, kRest},
         {R(33), P(32), R(34), P(35), R(32), P(33), R(34), P(35), R(32), P(33), R(34), P(35), R(33), P(32), R(34),
          P(35)}},
        {"sensitivity 60, one shot: the maximum end leaves a click the minimum end toggled alone",
         {.toggleLock = 1, .sensitivity = 60}, kMax, false,
         {{.y = 0}, {.x = 0, .y = 0}, {.x = kMax, .y = 0}, {.x = kMax, .y = 0}, {.x = 0, .y = 0}, {.x = 0, .y = 0}},
         Seq(Fire(32), Fire(34), MouseFlag(LEFTUP), Slept(1), MouseFlag(LEFTDOWN), Fire(34), Fire(34), Fire(32),
             Fire(34), Fire(34), MouseFlag(LEFTDOWN), Slept(1), MouseFlag(LEFTUP), Fire(34)),
         false, true},
        {"a release acts on the binding that pressed, though the table is another one by then",
         {.continuous = 1}, kMax, false,
         {{.y = 0}, {.y = 0}, {.buttons = 1, .x = kMax, .y = 0}, {.buttons = 1, .x = kMax, .y = 0},
          {.buttons = 1, .x = kMax, .y = 0, .rebound = true}, {.y = 0, .rebound = true},
          {.buttons = 1, .y = 0, .rebound = true}},
         {P(34), kBetweenX[0], kBetweenX[1], P(34), P(0), P(34), P(32), P(34), P(32), P(34), R(0), P(34),
          KeyDown(99, 0), R(32), KeyUp(99, 0), P(34)}},
        {"no device: axes never fire, buttons do", {.continuous = 1}, 0, true,
         {kZero, kZero, kRest, kRest, {.buttons = 1}}, {P(0)}},
        {"a range too small for a threshold never fires", {.continuous = 1}, 4, true, {kZero, kZero, kZero}, {}},
        {"presses ascending, then releases", {}, kMax, false, {{.buttons = 4}, {.buttons = 3}},
         {P(2), P(0), P(1), R(2)}},
        {"button 32 is bit 31", {}, kMax, false, {{.buttons = 0x80000002u}, {.buttons = 0x80000001u}, {.buttons = 0}},
         {P(1), P(31), P(0), R(1), R(0), R(31)}},
        {"an unchanged mask fires nothing", {}, kMax, false, {{.buttons = 5}, {.buttons = 5}}, {P(0), P(2)}},
        {"a failed read is no report of zero positions", {}, kMax, true, {kLost, kRest, kLost, kLost, kLost}, {}},
        {"a lost stick lets go of its buttons once and presses them again on return", {}, kMax, true,
         {{.buttons = 0x80000005u}, kLost, kLost, {.buttons = 0x80000005u}},
         {P(0), P(2), P(31), R(31), R(2), R(0), P(0), P(2), P(31)}},
        {"continuous: a lost stick lets go of exactly what it holds, last down first", {.continuous = 1}, kMax,
         false, {{.buttons = 2, .x = kMax}, {.buttons = 2, .x = kMax}, kLost, kLost, {.buttons = 2, .x = kMax}},
         Seq(P(1), P(32), kBetweenY, R(32), R(1), P(1), P(32), kBetweenY)},
        // Hat slots 44..47 are up, right, down, left; each direction reaches 45 degrees either way.
        {"hat at 0 holds up", {}, kMax, false, {kRest, {.hat = 0}, kRest}, {P(44), R(44)}, true},
        {"hat at 4500 holds up and right", {}, kMax, false, {kRest, {.hat = 4500}, kRest},
         {P(44), P(45), R(44), R(45)}, true},
        {"hat at 9000 holds right only", {}, kMax, false, {kRest, {.hat = 9000}, kRest}, {P(45), R(45)}, true},
        {"hat at 31500 holds left and up, in direction order", {}, kMax, false, {kRest, {.hat = 31500}, kRest},
         {P(44), P(47), R(44), R(47)}, true},
        {"hat at 35999 holds up", {}, kMax, false, {kRest, {.hat = 35999}, kRest}, {P(44), R(44)}, true},
        {"hat at 36000 holds nothing", {}, kMax, false, {kRest, {.hat = 27000}, {.hat = 36000}}, {P(47), R(47)},
         true},
        {"hat at 65535 is centred", {}, kMax, false, {kRest, {.hat = 18000}, {.hat = 65535}}, {P(46), R(46)}, true},
        {"without the hat capability the field is ignored", {}, kMax, false, {kRest, {.hat = 0}, {.hat = 9000}}, {}},
        {"hat presses, then releases, in one report", {}, kMax, false, {kRest, {.hat = 4500}, {.hat = 22500}},
         {P(44), P(45), P(46), P(47), R(44), R(45)}, true},
        {"buttons, then an axis end, then the hat", {}, kMax, false,
         {kRest, {.x = kMax}, {.buttons = 1, .x = kMax, .hat = 0}}, Seq(P(0), Fire(32), P(44)), true},
        {"a lost stick lets go of its hat with its buttons, last down first", {}, kMax, false,
         {kRest, {.buttons = 1, .hat = 4500}, kLost, kLost}, {P(0), P(44), P(45), R(45), R(44), R(0)}, true},
    };
    for (const ReportCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        running.config.settings = c.settings;
        BindAll();
        if (c.xMinusClicks) running.config.MappingTable[0][SLOT_X_MINUS] = {.on = 1, .sendMouse = 1, .mouseAction = 4};
        SetRanges(c.range, c.allAxes, c.hat);
        for (const Stick& s : c.reports) Report(s);
        EXPECT_EQ(Events(), c.expected);
    }
}

TEST(JoystickReport, EachPortReadsAndFiresOnlyItsOwn)
{
    ResetProgramState();
    BindAll();
    SetRanges(kMax, true);
    Report({.buttons = 1}, 0);
    const LastReport port0 = running.engine.lastReport[0];
    ClearEvents();

    Report({.buttons = 3, .x = kMax}, 1);
    Report({.buttons = 3, .x = kMax}, 1);
    Report(kLost, 1);
    EXPECT_EQ(Events(), Seq(P(0, 1), P(1, 1), Fire(32, 1, 1), R(1, 1), R(0, 1)));
    EXPECT_EQ(std::memcmp(&running.engine.lastReport[0], &port0, sizeof port0), 0);
    EXPECT_EQ(fake.posReads[0], 1u);
    EXPECT_EQ(fake.posReads[1], 3u);
    // The whole state is asked for, with nothing else filled in.
    const JoyInfoEx request{.dwSize = 52, .dwFlags = 255};
    for (const JoyInfoEx& sent : fake.lastRequest) EXPECT_EQ(std::memcmp(&sent, &request, sizeof request), 0);
}

struct LimitsCase {
    uint32_t min, max;
    int32_t sensitivity;
    uint32_t threshold, centre;
};

TEST(JoystickReport, LimitsAreTakenFromEachPortsRanges)
{
    const LimitsCase cases[] = {
        {0, 65535, 20, 13107, 32767},
        {100, 200, 50, 50, 50},  // half the span, not the midpoint
        {5, 5, 20, 0, 0},
        {0, 4, 20, 0, 2},
        {0, 0xFFFFFFFFu, 20, 42949672, 0x7FFFFFFF},  // the product keeps its low 32 bits
        {10, 0, 20, 42949670, 0x7FFFFFFB},           // a reversed range wraps round
    };
    for (const LimitsCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " at " << c.sensitivity);
        ResetProgramState();
        running.config.settings.sensitivity = c.sensitivity;
        JoyCaps& caps = fake.caps[0];
        caps.wXmin = caps.wYmin = caps.wZmin = caps.wRmin = caps.wUmin = caps.wVmin = c.min;
        caps.wXmax = caps.wYmax = caps.wZmax = caps.wRmax = caps.wUmax = caps.wVmax = c.max;
        fake.caps[1].wXmax = fake.caps[1].wYmax = fake.caps[1].wZmax = 1000;
        fake.caps[1].wRmax = fake.caps[1].wUmax = fake.caps[1].wVmax = 1000;
        ComputeAxisLimits(running.engine, running.config.settings);
        EXPECT_EQ(std::memcmp(&running.engine.joyCaps[0], &fake.caps[0], sizeof(JoyCaps)), 0);
        for (int axis = 0; axis < kAxisCount; ++axis) {
            EXPECT_EQ(running.engine.axisLimits.threshold[axis][0], c.threshold) << "axis " << axis;
            EXPECT_EQ(running.engine.axisLimits.centre[axis][0], c.centre) << "axis " << axis;
            EXPECT_EQ(running.engine.axisLimits.threshold[axis][1], uint32_t(1000 * c.sensitivity / 100)) << "axis " << axis;
            EXPECT_EQ(running.engine.axisLimits.centre[axis][1], 500u) << "axis " << axis;
        }
    }
}

TEST(JoystickReport, ThresholdsAloneLeaveTheCentres)
{
    ResetProgramState();
    fake.caps[1].wYmax = 1000;
    ComputeAxisLimits(running.engine, running.config.settings);
    fake.caps[1].wYmax = 2000;
    running.config.settings.sensitivity = 50;
    ComputeAxisThresholds(running.engine, running.config.settings);
    EXPECT_EQ(running.engine.joyCaps[1].wYmax, 2000u);
    EXPECT_EQ(running.engine.axisLimits.threshold[1][1], 1000u);
    EXPECT_EQ(running.engine.axisLimits.centre[1][1], 500u);
}

// With dynamic moves, X+ pushes the pointer by the speed its own report set.
TEST(JoystickReport, MoveFiredByAnAxisUsesTheSpeedOfThatReport)
{
    ResetProgramState();
    running.config.settings.dynamic = 1;
    running.config.MappingTable[0][SLOT_X_PLUS] = ActionRecord{.on = 1, .sendMouse = 1, .mouseAction = 3};
    SetRanges(kMax, false);
    EXPECT_EQ(running.engine.axisLimits.threshold[0][0], 13107u);
    EXPECT_EQ(running.engine.axisLimits.centre[0][0], kMid);
    for (uint32_t x : {kMax, kMax, 52429u, 52428u}) Report({.x = x});
    EXPECT_EQ(Events(), Seq(MouseMove(262, 0), Slept(1), MouseMove(157, 0), Slept(1)));
}

struct SpeedCase {
    const char* name;
    int32_t digital, xStep, yStep, sensitivity;
    MouseSpeed start;
    int port;
    std::vector<std::pair<uint32_t, uint32_t>> xy;
    MouseSpeed expected;
};

TEST(JoystickReport, MouseSpeedFollowsTheStick)
{
    constexpr int32_t kTop = INT32_MAX, kBottom = INT32_MIN;
    const SpeedCase cases[] = {
        {"analog: distance from the centre", 0, 8, 3, 20, {}, 0, {{kMax, 0}, {kMax, 0}}, {262, 98}},
        {"analog: inner edge, and 0 on the centre", 0, 8, 8, 20, {}, 1, {{52429, kMid}, {52429, kMid}}, {157, 0}},
        {"analog: a jump sets the step", 0, 5, 6, 20, {}, 0, {{kMid, kMid}, {kMid, kMid}, {kMax, 0}}, {5, 6}},
        {"digital: grows at rest", 1, 5, 6, 20, {}, 0, {{kMid, kMid}, {kMid, kMid}, {kMid, kMid}, {kMid, kMid}},
         {20, 24}},
        {"digital: a first report at zero is steady", 1, 5, 6, 20, {}, 1, {{0, 0}}, {13, 14}},
        {"digital: a jump resets to the step", 1, 5, 6, 20, {}, 0,
         {{kMid, kMid}, {kMid, kMid}, {kMid, kMid}, {kMax, 0}, {kMax, 0}}, {10, 12}},
        {"digital: stops at the largest value", 1, 5, 1, 20, {kTop - 3, kTop}, 0, {{0, 0}, {0, 0}}, {kTop, kTop}},
        {"digital: stops at the smallest value", 1, -5, -1, 20, {kBottom + 2, 0}, 0, {{0, 0}, {0, 0}},
         {kBottom, -2}},
        {"zero threshold: always the step", 1, 5, 6, 0, {}, 0, {{kMid, kMid}, {kMid, kMid}}, {5, 6}},
        {"analog: a negative step at the maximum", 0, -8, 8, 20, {}, 0, {{kMax, kMid}, {kMax, kMid}}, {4294705, 0}},
        {"digital 2 counts as on", 2, 5, 6, 20, {}, 0, {{kMid, kMid}, {kMid, kMid}, {kMid, kMid}}, {15, 18}},
    };
    for (const SpeedCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        running.config.settings = Settings{.xStep = c.xStep, .yStep = c.yStep, .digital = c.digital, .sensitivity = c.sensitivity};
        running.engine.mouseSpeed = c.start;
        SetRanges(kMax, false);
        for (const auto& [x, y] : c.xy) Report({.x = x, .y = y}, c.port);
        EXPECT_EQ(running.engine.mouseSpeed.horizontal, c.expected.horizontal);
        EXPECT_EQ(running.engine.mouseSpeed.vertical, c.expected.vertical);
    }
}

// --- layers, tap-or-hold and turbo ------------------------------------------

// Button 5 (slot 4) and button 6 (slot 5) are the layer keys of the rows; a
// layer's binding of slot s types Layer1(s) or Layer2(s).
constexpr int kB1 = 1, kB2 = 2, kB5 = 1 << 4, kB6 = 1 << 5;
constexpr int32_t Layer1(int slot) { return 228 + slot; }
constexpr int32_t Layer2(int slot) { return 112 + slot; }

void BindInLayer(int layer, int slot, int32_t key)
{
    LayerBinding(running.config, layer, 0, slot) = ActionRecord{.on = 1, .sendKey = 1, .keyCode = key};
}

// A layer key: its base binding off unless it taps one.
void LayerKey(int slot, LayerAction action, int target, bool taps = false)
{
    if (!taps) Binding(running.config, 0, slot) = ActionRecord{};
    running.config.behaviour[0][0][slot] = SlotBehaviour{uint8_t(action), uint8_t(target), 0};
}

// Time passes as the shell's timer would let it: every run the engine asks
// for, at its time.
void Wait(uint32_t ms)
{
    const uint32_t end = fake.tickCount + ms;
    uint32_t at = 0;
    while (EngineNextRun(running.engine, at) && int32_t(end - at) >= 0) {
        if (int32_t(at - fake.tickCount) > 0) fake.tickCount = at;
        RunEngineDue(running.engine, running.config, fake.tickCount);
    }
    fake.tickCount = end;
}

struct LayerStep {
    uint32_t wait;  // ms before the report
    Stick stick;
    EventList expected;  // what the wait and the report send
    void (*instead)() = nullptr;  // done instead of the report
};

// A reload or a profile switch: a table put in place.
void Reload() { PutConfigInPlace(Configuration(running.config)); }
// What a port's new source does to what port 0 held.
void LetGoOfPort0() { LetGoOfPort(running.engine, 0); }

TEST(Layers, OutputIsFixedAtThePressAndReleasedAtItsRelease)
{
    const Stick b1{.buttons = kB1}, b5{.buttons = kB5}, b6{.buttons = kB6}, b15{.buttons = kB1 | kB5},
        b56{.buttons = kB5 | kB6}, b16{.buttons = kB1 | kB6}, b2{.buttons = kB2};
    const Event l1Down = KeyDown(Layer1(0), 0), l1Up = KeyUp(Layer1(0), 0);
    const auto whileHeld1 = [] { LayerKey(4, LAYER_WHILE_HELD, 1); BindInLayer(1, 0, Layer1(0)); };
    const auto stacked = [] {
        LayerKey(4, LAYER_WHILE_HELD, 1);
        LayerKey(5, LAYER_WHILE_HELD, 2);
        BindInLayer(1, 0, Layer1(0));
        BindInLayer(2, 0, Layer2(0));
    };
    const auto tapOrHold = [] { LayerKey(4, LAYER_WHILE_HELD, 1, true); BindInLayer(1, 0, Layer1(0)); };
    const auto turbo = [] { running.config.behaviour[0][0][0].turbo = 100; };
    const struct {
        const char* name;
        void (*bind)();
        Settings settings;
        std::vector<LayerStep> steps;
    } cases[] = {
        {"a layer is on while its key is held", whileHeld1, {},
         {{0, b5, {}}, {0, b15, {l1Down}}, {0, b5, {l1Up}}, {0, kRest, {}}, {0, b1, {P(0)}}, {0, kRest, {R(0)}}}},
        {"a toggle turns its layer on and off at each press", [] { LayerKey(5, LAYER_TOGGLE, 1); BindInLayer(1, 0, Layer1(0)); }, {},
         {{0, b6, {}}, {0, kRest, {}}, {0, b1, {l1Down}}, {0, kRest, {l1Up}}, {0, b6, {}}, {0, kRest, {}},
          {0, b1, {P(0)}}, {0, kRest, {R(0)}}}},
        {"stacked layers released out of order: the one still held decides", stacked, {},
         {{0, b5, {}}, {0, b56, {}}, {0, b6, {}}, {0, b16, {KeyDown(Layer2(0), 0)}}, {0, b6, {KeyUp(Layer2(0), 0)}},
          {0, kRest, {}}, {0, b1, {P(0)}}, {0, kRest, {R(0)}}}},
        {"the top layer decides while both are held", stacked, {},
         {{0, b5, {}}, {0, b56, {}}, {0, Stick{.buttons = kB1 | kB5 | kB6}, {KeyDown(Layer2(0), 0)}},
          {0, b56, {KeyUp(Layer2(0), 0)}}}},
        {"a held layer over a toggled one: letting go returns to the toggled set",
         [] { LayerKey(5, LAYER_TOGGLE, 1); LayerKey(4, LAYER_WHILE_HELD, 2); BindInLayer(1, 0, Layer1(0)); BindInLayer(2, 0, Layer2(0)); },
         {}, {{0, b6, {}}, {0, kRest, {}}, {0, b5, {}}, {0, kRest, {}}, {0, b1, {l1Down}}, {0, kRest, {l1Up}}}},
        {"a slot off in the layer falls through to the base", [] { LayerKey(4, LAYER_WHILE_HELD, 1); BindInLayer(1, 1, Layer1(1)); }, {},
         {{0, b5, {}}, {0, b15, {P(0)}}, {0, Stick{.buttons = kB2 | kB5}, {KeyDown(Layer1(1), 0), R(0)}}}},
        {"a button held across a layer change releases what its press sent", whileHeld1, {},
         {{0, b1, {P(0)}}, {0, b15, {}}, {0, b5, {R(0)}}, {0, b15, {l1Down}}}},
        {"the layer key let go first: the shifted button still releases its own key", whileHeld1, {},
         {{0, b5, {}}, {0, b15, {l1Down}}, {0, b1, {}}, {0, kRest, {l1Up}}, {0, b1, {P(0)}}}},
        {"tap within 200 ms: the key's binding goes down at the release and up 40 ms later", tapOrHold, {},
         {{0, b5, {}}, {200, kRest, {P(4)}}, {39, kRest, {}}, {1, kRest, {R(4)}}, {0, b1, {P(0)}}}},
        {"held past 200 ms it only switched the layer", tapOrHold, {},
         {{0, b5, {}}, {201, kRest, {}}, {100, kRest, {}}}},
        {"another button pressed meanwhile: no tap", tapOrHold, {},
         {{0, b5, {}}, {10, b15, {l1Down}}, {10, b5, {l1Up}}, {10, kRest, {}}, {100, kRest, {}}}},
        {"pressed again before its tap went up: the tap goes up first", tapOrHold, {},
         {{0, b5, {}}, {10, kRest, {P(4)}}, {10, b5, {R(4)}}, {10, kRest, {P(4)}}, {40, kRest, {R(4)}}}},
        {"turbo: pressed at once, up at half the period, down again at the period", turbo, {},
         {{0, b1, {P(0)}}, {49, b1, {}}, {1, b1, {R(0)}}, {49, b1, {}}, {1, b1, {P(0)}}, {20, kRest, {R(0)}},
          {200, kRest, {}}}},
        {"turbo let go while its pulse is up sends nothing more", turbo, {},
         {{0, b1, {P(0)}}, {60, kRest, {R(0)}}, {200, kRest, {}}}},
        {"turbo clicks are clicks whatever the toggle lock says",
         [] {
             Binding(running.config, 0, 0) = ActionRecord{.on = 1, .sendMouse = 1, .mouseAction = 4};
             running.config.behaviour[0][0][0].turbo = 100;
         },
         {.toggleLock = 1},
         {{0, b1, {MouseFlag(LEFTDOWN)}}, {50, b1, {MouseFlag(LEFTUP)}}, {50, b1, {MouseFlag(LEFTDOWN)}},
          {10, kRest, {MouseFlag(LEFTUP)}}}},
        {"turbo on a layer key is ignored",
         [] { LayerKey(4, LAYER_WHILE_HELD, 1, true); running.config.behaviour[0][0][4].turbo = 100; }, {},
         {{0, b5, {}}, {300, kRest, {}}}},
        {"an axis end as a layer key is held as a zone, whatever continuous 0 says",
         [] { LayerKey(SLOT_X_PLUS, LAYER_WHILE_HELD, 1); BindInLayer(1, 0, Layer1(0)); }, {},
         {{0, Stick{.x = kMax}, {}}, {0, Stick{.x = kMax}, {}}, {0, Stick{.buttons = kB1, .x = kMax}, {l1Down}},
          {0, Stick{.x = kMax}, {l1Up}}, {0, Stick{.x = kMax}, {}}, {0, kRest, {}}, {0, b1, {P(0)}}}},
        {"a turbo end is held as a zone: it repeats at its period, not at each report",
         [] { running.config.behaviour[0][0][SLOT_X_PLUS].turbo = 40; }, {},
         {{0, Stick{.x = kMax}, {}}, {0, Stick{.x = kMax}, {P(32)}}, {10, Stick{.x = kMax}, {}},
          {10, Stick{.x = kMax}, {R(32)}}, {20, Stick{.x = kMax}, {P(32)}}, {5, kRest, {R(32)}}, {100, kRest, {}}}},
        {"a reload with a layer toggled on goes back to the base",
         [] { LayerKey(5, LAYER_TOGGLE, 1); BindInLayer(1, 0, Layer1(0)); }, {},
         {{0, b6, {}}, {0, kRest, {}}, {0, kRest, {}, Reload}, {0, b1, {P(0)}}}},
        {"a reload while turbo runs lets go; the held button starts it afresh", turbo, {},
         {{0, b1, {P(0)}}, {10, b1, {R(0)}, Reload}, {0, b1, {P(0)}}, {100, b2, {R(0), P(0), P(1), R(0)}}}},
        {"a stick lost while turbo runs lets go, and nothing repeats", turbo, {},
         {{0, b1, {P(0)}}, {10, kLost, {R(0)}}, {200, kLost, {}}, {0, b1, {P(0)}}}},
        {"a stick lost while a layer key is held turns its layer off", whileHeld1, {},
         {{0, b5, {}}, {0, kLost, {}}, {0, b1, {P(0)}}}},
        {"a port let go of while its turbo is up repeats no more", turbo, {},
         {{0, b1, {P(0)}}, {60, b1, {R(0)}, LetGoOfPort0}, {100, b1, {P(0)}}, {49, b1, {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        running.config.settings = c.settings;
        BindAll();
        c.bind();
        SetRanges(kMax, false);
        Report(kRest);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const LayerStep& step = c.steps[i];
            ClearEvents();
            Wait(step.wait);
            if (step.instead != nullptr) {
                step.instead();
            } else {
                Report(step.stick);
            }
            EXPECT_EQ(Events(), step.expected);
        }
    }
}

}  // namespace
