#include "engine/joystick_report.h"

#include <climits>

#include "engine/action_execution.h"
#include "engine/held_input.h"
#include "platform/input_codes.h"

namespace {

constexpr int32_t kMaxDelay = 1000;  // ms

// |a - b| with the difference taken as a signed 32-bit value.
uint32_t Distance(uint32_t a, uint32_t b)
{
    const int32_t difference = int32_t(a - b);
    return difference < 0 ? 0u - uint32_t(difference) : uint32_t(difference);
}

// The span of an axis; a device without the axis reports min = max, so 0.
uint32_t Range(const EngineState& engine, int port, int axis)
{
    return engine.joyCaps[port].*kAxes[axis].max - engine.joyCaps[port].*kAxes[axis].min;
}

bool EndZonesOverlap(const EngineState& engine, int port, int axis, uint32_t threshold)
{
    return uint64_t(threshold) * 2 > Range(engine, port, axis);
}

void ComputeThresholds(EngineState& engine, const Settings& settings, int port)
{
    for (int axis = 0; axis < kAxisCount; ++axis) {
        engine.axisLimits.threshold[axis][port] = Range(engine, port, axis) * uint32_t(settings.sensitivity) / 100;
    }
}

void ComputeCentres(EngineState& engine, int port)
{
    for (int axis = 0; axis < kAxisCount; ++axis) engine.axisLimits.centre[axis][port] = Range(engine, port, axis) >> 1;
}

void RefreshCapsAndThresholds(EngineState& engine, const Settings& settings)
{
    for (int port = 0; port < kPortCount; ++port) {
        if (engine.readCaps != nullptr) {
            engine.readCaps(port, engine.joyCaps[port]);
        } else {
            PlatformJoyGetDevCaps(uint32_t(port), &engine.joyCaps[port]);
        }
        ComputeThresholds(engine, settings, port);
    }
}

void UpdateMouseSpeed(const Settings& settings, int32_t& speed, int32_t step, bool steady,
                      uint32_t distanceFromCentre)
{
    if (!steady) {
        speed = step;
    } else if (settings.digital != 0) {
        // Grows while the stick is held; stops at the 32-bit limits instead
        // of wrapping round to a pointer flying the other way.
        const int64_t sum = int64_t(speed) + step;
        speed = sum > INT32_MAX ? INT32_MAX : sum < INT32_MIN ? INT32_MIN : int32_t(sum);
    } else {
        speed = int32_t(distanceFromCentre * uint32_t(step) / 1000);
    }
}

void FireEnd(EngineState& engine, const Configuration& config, int port, int slot)
{
    const Settings& settings = config.settings;
    ExecuteBinding(engine, config, port, slot, PHASE_PRESS);
    if (settings.continuous != 0) return;
    // A file's delay is used as it stands within 0..1000 ms; a negative one
    // would be an endless wait, and a huge one would hold the key for days
    // with the program deaf to Exit.
    const int32_t delay = settings.delay < 0 ? 0 : settings.delay > kMaxDelay ? kMaxDelay : settings.delay;
    PlatformSleep(uint32_t(delay));
    ExecuteBinding(engine, config, port, slot, PHASE_RELEASE);
}

void ProcessAxis(EngineState& engine, const Configuration& config, int port, int axisIndex, uint32_t pos)
{
    const Settings& settings = config.settings;
    const AxisWiring& axis = kAxes[axisIndex];
    const JoyCaps& caps = engine.joyCaps[port];
    const uint32_t threshold = engine.axisLimits.threshold[axisIndex][port];
    uint32_t& previous = engine.lastReport[port].position[axisIndex];
    const bool steady = Distance(pos, previous) < threshold;

    if (axisIndex == kAxisX || axisIndex == kAxisY) {
        const uint32_t fromCentre = Distance(pos, engine.axisLimits.centre[axisIndex][port]);
        if (axisIndex == kAxisX) {
            UpdateMouseSpeed(settings, engine.mouseSpeed.horizontal, settings.xStep, steady, fromCentre);
        } else {
            UpdateMouseSpeed(settings, engine.mouseSpeed.vertical, settings.yStep, steady, fromCentre);
        }
    }

    if (steady) {
        // Above a sensitivity of 50 the end zones overlap and no position lies
        // between them, where continuous 1 lets go; so an end first lets go of
        // what the other end holds, and a key never stays down for good.
        // Asked only at an end, so a stick at rest pays nothing for it.
        if (Distance(pos, caps.*axis.max) < threshold) {
            if (EndZonesOverlap(engine, port, axisIndex, threshold)) LetGoOfSlot(engine, port, axis.minSlot);
            FireEnd(engine, config, port, axis.maxSlot);
        } else if (Distance(pos, caps.*axis.min) < threshold) {
            if (EndZonesOverlap(engine, port, axisIndex, threshold)) LetGoOfSlot(engine, port, axis.maxSlot);
            FireEnd(engine, config, port, axis.minSlot);
        } else if (settings.continuous == 1) {
            ExecuteBinding(engine, config, port, axis.maxSlot, PHASE_RELEASE);
            ExecuteBinding(engine, config, port, axis.minSlot, PHASE_RELEASE);
        }
    }
    previous = pos;
}

// The hat directions an angle holds: each within 45 degrees of it, ends
// included, so a diagonal holds two. A centred hat (65535), or any value past
// a full turn, holds none.
uint32_t HatDirections(uint32_t angle)
{
    constexpr uint32_t kTurn = 36000, kQuarter = 9000, kReach = 4500;
    if (angle >= kTurn) return 0;
    uint32_t held = 0;
    for (uint32_t direction = 0; direction < kHatSlotCount; ++direction) {
        const uint32_t clockwise = (angle + kTurn - direction * kQuarter) % kTurn;
        if (clockwise <= kReach || clockwise >= kTurn - kReach) held |= 1u << direction;
    }
    return held;
}

// The one body of both kinds of report, inlined into each so that the
// driver's report pays no extra call.
[[gnu::always_inline]] inline void ProcessState(EngineState& engine, const Configuration& config, int port, const JoyInfoEx* report)
{
    LastReport& last = engine.lastReport[port];

    // A failed read is no report of zero positions: an unplugged stick must
    // not fire the bindings at the minimum ends. The first failure lets go of
    // what the stick held, so nothing stays down until it comes back.
    if (report == nullptr) {
        LetGoOfLostStick(engine, port);
        return;
    }
    last.readOk = true;
    const JoyInfoEx& info = *report;

    if (info.dwButtons != last.buttons) {
        ExecuteButtons(engine, config, port, info.dwButtons & ~last.buttons, PHASE_PRESS);
        ExecuteButtons(engine, config, port, last.buttons & ~info.dwButtons, PHASE_RELEASE);
        last.buttons = info.dwButtons;
    }
    for (int axis = 0; axis < kAxisCount; ++axis) ProcessAxis(engine, config, port, axis, info.*kAxes[axis].position);

    // Hat directions act like buttons, after the axes. A stick without a hat
    // may report anything in the field.
    const uint32_t hats = (engine.joyCaps[port].wCaps & kJoyCapsHasPov) != 0 ? HatDirections(info.dwPOV) : 0;
    if (hats != last.hats) {
        ExecuteHats(engine, config, port, hats & ~last.hats, PHASE_PRESS);
        ExecuteHats(engine, config, port, last.hats & ~hats, PHASE_RELEASE);
        last.hats = hats;
    }
}

}  // namespace

void ComputeAxisLimits(EngineState& engine, const Settings& settings)
{
    RefreshCapsAndThresholds(engine, settings);
    for (int port = 0; port < kPortCount; ++port) ComputeCentres(engine, port);
}

void ComputeAxisThresholds(EngineState& engine, const Settings& settings)
{
    RefreshCapsAndThresholds(engine, settings);
}

void ProcessJoystickReport(EngineState& engine, const Configuration& config, int port)
{
    JoyInfoEx info = {};
    info.dwSize = sizeof info;
    info.dwFlags = kJoyReturnAll;
    const bool read = PlatformJoyGetPosEx(uint32_t(port), &info) == kJoyNoError;
    ProcessState(engine, config, port, read ? &info : nullptr);
}

void ProcessJoystickState(EngineState& engine, const Configuration& config, int port, const JoyInfoEx* report)
{
    ProcessState(engine, config, port, report);
}


void ComputePortLimits(EngineState& engine, const Settings& settings, int port)
{
    ComputeThresholds(engine, settings, port);
    ComputeCentres(engine, port);
}

void ForgetPortReport(EngineState& engine, int port)
{
    engine.lastReport[port] = LastReport{};
}

void LetGoOfLostStick(EngineState& engine, int port)
{
    LastReport& last = engine.lastReport[port];
    if (last.readOk) LetGoOfPort(engine, port);
    last.buttons = 0;
    last.hats = 0;
    last.readOk = false;
}
