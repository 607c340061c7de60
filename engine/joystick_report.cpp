#include "engine/joystick_report.h"

#include <climits>
#include <cstring>

#include "engine/action_execution.h"
#include "engine/engine_time.h"
#include "engine/held_input.h"
#include "engine/layers.h"
#include "engine/pressed_bindings.h"
#include "platform/input_codes.h"

namespace {

constexpr int32_t kMaxDelay = 1000;  // ms

// The steps of a report are inlined into one body, its loop over the axes
// unrolled, where the build is for speed; a build for size keeps them apart.
#ifdef __OPTIMIZE_SIZE__
#define REPORT_STEP inline
#define REPORT_AXES_UNROLLED
#else
#define REPORT_STEP [[gnu::always_inline]] inline
#define REPORT_AXES_UNROLLED _Pragma("GCC unroll 6")
#endif

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
        engine.axisLimits.threshold[axis][port] =
            Range(engine, port, axis) * uint32_t(settings.sensitivity) / 100;
    }
}

void ComputeCentres(EngineState& engine, int port)
{
    for (int axis = 0; axis < kAxisCount; ++axis)
        engine.axisLimits.centre[axis][port] = Range(engine, port, axis) >> 1;
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

// What one axis does in a report, as bits: the ends it releases first (the
// maximum's slot, then the minimum's), the end it presses, and whether that
// press is a one-shot, released again after the delay.
enum AxisAct : uint8_t {
    RELEASE_MAX = 1,
    RELEASE_MIN = 2,
    PRESS_MAX = 4,
    PRESS_MIN = 8,
    ONE_SHOT = 16,
};

// What a report changed, found before any binding runs: the button and hat
// edges, what each axis does, and the pointer speed X and Y give.
struct ReportChanges {
    uint32_t buttonsPressed, buttonsReleased;
    uint32_t hatsPressed, hatsReleased;
    uint8_t axisActs[kAxisCount];
    bool anyAxisActs;
    MouseSpeed speed;
};

// The end tests of a steady axis: endActs is what a press at an end adds
// (ONE_SHOT or nothing), between what the middle does (under continuous 1,
// release both ends). Above a sensitivity of 50 the end zones overlap and no
// position lies between them; so under continuous 1 an end first releases the
// other end, as the middle would, and a key never stays down for good. A
// one-shot needs no such rule, and other values hold until the stick is lost.
REPORT_STEP uint8_t DetectAxisEnds(const EngineState& engine, int port, int axisIndex, uint32_t pos,
                                   uint32_t threshold, uint8_t endActs, uint8_t between)
{
    const AxisWiring& axis = kAxes[axisIndex];
    const JoyCaps& caps = engine.joyCaps[port];
    // Asked only at an end, so a stick at rest pays nothing for it.
    const auto other = [&](uint8_t release) {
        return between != 0 && EndZonesOverlap(engine, port, axisIndex, threshold) ? release : 0;
    };
    if (Distance(pos, caps.*axis.max) < threshold) return uint8_t(PRESS_MAX | endActs | other(RELEASE_MIN));
    if (Distance(pos, caps.*axis.min) < threshold) return uint8_t(PRESS_MIN | endActs | other(RELEASE_MAX));
    return between;
}

// Detect: the report against the port's previous one, which it then becomes.
REPORT_STEP void DetectChanges(EngineState& engine, const Settings& settings, int port, const JoyInfoEx& info,
                               ReportChanges& changes)
{
    LastReport& last = engine.lastReport[port];
    last.readOk = true;
    changes.buttonsPressed = info.dwButtons & ~last.buttons;
    changes.buttonsReleased = last.buttons & ~info.dwButtons;
    last.buttons = info.dwButtons;

    changes.speed = engine.mouseSpeed;
    const uint8_t endActs = settings.continuous == 0 ? ONE_SHOT : 0;
    const uint8_t between = settings.continuous == 1 ? RELEASE_MAX | RELEASE_MIN : 0;
    uint8_t any = 0;
    // Unrolled, so that each axis's fields are found without the table.
    REPORT_AXES_UNROLLED
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const uint32_t pos = info.*kAxes[axis].position;
        const uint32_t threshold = engine.axisLimits.threshold[axis][port];
        uint32_t& previous = last.position[axis];
        const bool steady = Distance(pos, previous) < threshold;
        previous = pos;
        if (axis == kAxisX || axis == kAxisY) {
            const uint32_t fromCentre = Distance(pos, engine.axisLimits.centre[axis][port]);
            if (axis == kAxisX) {
                UpdateMouseSpeed(settings, changes.speed.horizontal, settings.xStep, steady, fromCentre);
            } else {
                UpdateMouseSpeed(settings, changes.speed.vertical, settings.yStep, steady, fromCentre);
            }
        }
        // An axis that moved by the threshold or more fires nothing.
        const uint8_t acts =
            steady ? DetectAxisEnds(engine, port, axis, pos, threshold, endActs, between) : 0;
        changes.axisActs[axis] = acts;
        any |= acts;
    }
    changes.anyAxisActs = any != 0;

    // Hat directions act like buttons. A stick without a hat may report
    // anything in the field.
    const uint32_t hats = (engine.joyCaps[port].wCaps & kJoyCapsHasPov) != 0 ? HatDirections(info.dwPOV) : 0;
    changes.hatsPressed = hats & ~last.hats;
    changes.hatsReleased = last.hats & ~hats;
    last.hats = hats;
}

// A press resolved through the layers that are on, or to a base binding with
// a behaviour: true when the slot behaves and has been pressed; otherwise
// table becomes the binding the press resolved to.
bool PressThroughLayers(EngineState& engine, const Configuration& config, const ActionRecord*& table, int port,
                        int slot, uint32_t now)
{
    const int layer = ResolveLayer(engine, config, port, slot);
    const ActionRecord& binding = LayerBinding(config, layer, port, slot);
    const SlotBehaviour& behaviour = config.behaviour[layer][port][slot];
    if (!Behaves(behaviour, binding)) {
        table = &binding;
        return false;
    }
    PressBehaving(engine, config.settings, port, slot, binding, behaviour, now);
    return true;
}

// Resolve, then execute: the binding a change of the slot acts on (table is
// the slot's record in the base), carried out. Without layers on and without
// a behaviour on the slot, a press acts on the base's binding.
REPORT_STEP void Act(EngineState& engine, const Configuration& config, const ActionRecord& table, int port,
                     int slot, ActionPhase phase, uint32_t now)
{
    const uint64_t bit = uint64_t(1) << slot;
    PressedBindings& pressed = engine.pressed;
    const ActionRecord* record = &table;
    if (phase == PHASE_PRESS) {
        if ((pressed.slots[port] & bit) == 0) {
            NotePress(engine);
            // The base's behaviour of the slot, read whole: zero for none.
            uint32_t base;
            static_assert(sizeof base == sizeof(SlotBehaviour));
            std::memcpy(&base, &config.behaviour[0][port][slot], sizeof base);
            if ((engine.layers.count | base) != 0 && PressThroughLayers(engine, config, record, port, slot, now)) {
                return;
            }
        } else if ((pressed.behaving[port] & bit) != 0) {
            return;  // held: a behaving slot acts once per press
        }
    } else if ((pressed.behaving[port] & bit) != 0) {
        ReleaseBehaving(engine, config.settings, port, slot, now);
        return;
    }
    const ActionRecord& binding = ResolveBinding(pressed, *record, port, slot, phase);
    ExecuteBinding(engine, binding, config.settings, port, slot, phase);
}

// The slots first + n for each bit n of mask, in ascending order; row holds
// their records from the first on.
REPORT_STEP void ActOnSlots(EngineState& engine, const Configuration& config, const ActionRecord* row, int port,
                            int first, uint32_t mask, ActionPhase phase, uint32_t now)
{
    for (int slot = first; mask != 0; ++slot, ++row, mask >>= 1) {
        if (mask & 1) Act(engine, config, *row, port, slot, phase, now);
    }
}

// Held zones that the axis has left, by the position just read: released.
void LeaveHeldZones(EngineState& engine, const Configuration& config, int port, int axisIndex, uint32_t now)
{
    const AxisWiring& axis = kAxes[axisIndex];
    const JoyCaps& caps = engine.joyCaps[port];
    const uint32_t pos = engine.lastReport[port].position[axisIndex];
    const uint32_t threshold = engine.axisLimits.threshold[axisIndex][port];
    const struct {
        int slot;
        uint32_t end;
    } ends[2] = {{axis.maxSlot, caps.*axis.max}, {axis.minSlot, caps.*axis.min}};
    for (const auto& end : ends) {
        const uint64_t bit = uint64_t(1) << end.slot;
        if ((engine.pressed.heldZones[port] & bit) == 0 || Distance(pos, end.end) < threshold) continue;
        engine.pressed.heldZones[port] &= ~bit;
        Act(engine, config, config.MappingTable[port][end.slot], port, end.slot, PHASE_RELEASE, now);
    }
}

REPORT_STEP void ActOnAxis(EngineState& engine, const Configuration& config, int port, int axisIndex,
                           uint8_t acts, uint32_t now)
{
    const AxisWiring& axis = kAxes[axisIndex];
    uint64_t& heldZones = engine.pressed.heldZones[port];
    const uint64_t maxBit = uint64_t(1) << axis.maxSlot, minBit = uint64_t(1) << axis.minSlot;
    if ((heldZones & (maxBit | minBit)) != 0) LeaveHeldZones(engine, config, port, axisIndex, now);
    if (acts == 0) return;
    const Settings& settings = config.settings;
    const ActionRecord* row = config.MappingTable[port];
    // A held zone is let go of only by leaving it.
    if ((acts & RELEASE_MAX) && (heldZones & maxBit) == 0) {
        Act(engine, config, row[axis.maxSlot], port, axis.maxSlot, PHASE_RELEASE, now);
    }
    if ((acts & RELEASE_MIN) && (heldZones & minBit) == 0) {
        Act(engine, config, row[axis.minSlot], port, axis.minSlot, PHASE_RELEASE, now);
    }
    const int pressed = acts & PRESS_MAX ? axis.maxSlot : acts & PRESS_MIN ? axis.minSlot : -1;
    if (pressed < 0) return;
    const uint64_t pressedBit = uint64_t(1) << pressed;
    if ((heldZones & pressedBit) != 0) return;
    Act(engine, config, row[pressed], port, pressed, PHASE_PRESS, now);
    // An end with a layer action or turbo is held from here until the axis
    // leaves its zone, whatever continuous says.
    if ((engine.pressed.behaving[port] & pressedBit) != 0) {
        heldZones |= pressedBit;
        return;
    }
    if ((acts & ONE_SHOT) == 0) return;
    // A file's delay is used as it stands within 0..1000 ms; a negative one
    // would be an endless wait, and a huge one would hold the key for days
    // with the program deaf to Exit.
    const int32_t delay = settings.delay;
    PlatformSleep(uint32_t(delay < 0 ? 0 : delay > kMaxDelay ? kMaxDelay : delay));
    Act(engine, config, row[pressed], port, pressed, PHASE_RELEASE, now);
}

// Buttons (presses, then releases, each in slot order), the axes in order,
// then the hat likewise. Each axis's pointer speed takes effect at its turn,
// so a move fired by X or Y uses the speed of this report, a button's that of
// the one before.
REPORT_STEP void ExecuteChanges(EngineState& engine, const Configuration& config, int port,
                                const ReportChanges& changes, uint32_t now)
{
    // Pressed and released share no bit, so they differ exactly when either is set.
    if (changes.buttonsPressed != changes.buttonsReleased) {
        const ActionRecord* buttons = config.MappingTable[port];
        ActOnSlots(engine, config, buttons, port, 0, changes.buttonsPressed, PHASE_PRESS, now);
        ActOnSlots(engine, config, buttons, port, 0, changes.buttonsReleased, PHASE_RELEASE, now);
    }
    // A held zone is looked at in every report, to see the axis leave it.
    const bool axesAct = changes.anyAxisActs || engine.pressed.heldZones[port] != 0;
    engine.mouseSpeed.horizontal = changes.speed.horizontal;
    if (axesAct) ActOnAxis(engine, config, port, kAxisX, changes.axisActs[kAxisX], now);
    engine.mouseSpeed.vertical = changes.speed.vertical;
    if (axesAct) {
        for (int axis = kAxisY; axis < kAxisCount; ++axis)
            ActOnAxis(engine, config, port, axis, changes.axisActs[axis], now);
    }
    if (changes.hatsPressed != changes.hatsReleased) {
        const ActionRecord* hats = config.HatTable[port];
        ActOnSlots(engine, config, hats, port, SLOT_HAT_UP, changes.hatsPressed, PHASE_PRESS, now);
        ActOnSlots(engine, config, hats, port, SLOT_HAT_UP, changes.hatsReleased, PHASE_RELEASE, now);
    }
}

// The one body of both kinds of report, inlined into each so that the
// driver's report pays no extra call.
[[gnu::always_inline]] inline void ProcessState(EngineState& engine, const Configuration& config, int port,
                                                const JoyInfoEx* report, uint32_t now)
{
    // A failed read is no report of zero positions: an unplugged stick must
    // not fire the bindings at the minimum ends. The first failure lets go of
    // what the stick held, so nothing stays down until it comes back.
    if (report == nullptr) {
        LetGoOfLostStick(engine, port);
        return;
    }
    // What fell due since the last run goes first, should the shell's timer
    // come late.
    if (engine.wake.pending) RunEngineDue(engine, config, now);
    ReportChanges changes;
    DetectChanges(engine, config.settings, port, *report, changes);
    ExecuteChanges(engine, config, port, changes, now);
    SetActingBinding(engine.heldRecord, -1, -1);
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

void ProcessJoystickReport(EngineState& engine, const Configuration& config, int port, uint32_t now)
{
    JoyInfoEx info = {};
    info.dwSize = sizeof info;
    info.dwFlags = kJoyReturnAll;
    const bool read = PlatformJoyGetPosEx(uint32_t(port), &info) == kJoyNoError;
    ProcessState(engine, config, port, read ? &info : nullptr, now);
}

void ProcessJoystickState(EngineState& engine, const Configuration& config, int port, const JoyInfoEx* report,
                          uint32_t now)
{
    ProcessState(engine, config, port, report, now);
}

void ComputePortLimits(EngineState& engine, const Settings& settings, int port)
{
    ComputeThresholds(engine, settings, port);
    ComputeCentres(engine, port);
}

void ForgetPortReport(EngineState& engine, int port)
{
    engine.lastReport[port] = LastReport{};
    ForgetBehaviour(engine, port, ~uint64_t(0));
    engine.pressed.slots[port] = 0;
    ResetLayers(engine);
}

void LetGoOfLostStick(EngineState& engine, int port)
{
    LastReport& last = engine.lastReport[port];
    if (last.readOk) {
        LetGoOfPort(engine, port);
        ResetLayers(engine);
    }
    ForgetPressedSlots(engine, port, kButtonSlots | kHatSlots);
    // Nothing of a lost stick repeats or holds a layer.
    ForgetBehaviour(engine, port, ~uint64_t(0));
    last.readOk = false;
}

bool ReportWantsFollowUp(const EngineState& engine, int port, const JoyInfoEx& report)
{
    const LastReport& last = engine.lastReport[port];
    const JoyCaps& caps = engine.joyCaps[port];
    for (int axis = 0; axis < kAxisCount; ++axis) {
        // An axis without a threshold never fires, whatever it does.
        const uint32_t threshold = engine.axisLimits.threshold[axis][port];
        const AxisWiring& wiring = kAxes[axis];
        const uint32_t pos = report.*wiring.position;
        if (threshold == 0) continue;
        if (Distance(pos, last.position[axis]) >= threshold) return true;
        const bool nearMax = Distance(pos, caps.*wiring.max) < threshold;
        if (nearMax || Distance(pos, caps.*wiring.min) < threshold) return true;
    }
    return false;
}
