#include "engine/held_input.h"

#include <algorithm>

#include "engine/layers.h"
#include "engine/pressed_bindings.h"

namespace {

struct MouseButton {
    uint32_t down, up;
    int32_t ButtonToggle::*toggle;
};
constexpr MouseButton kButtons[3] = {
    {kMouseLeftDown, kMouseLeftUp, &ButtonToggle::left},
    {kMouseMiddleDown, kMouseMiddleUp, &ButtonToggle::middle},
    {kMouseRightDown, kMouseRightUp, &ButtonToggle::right},
};
constexpr int kHeldCount = 256 + 3;  // the keys, then the mouse buttons

HeldOutput& Held(HeldRecord& heldRecord, int index)
{
    return index < 256 ? heldRecord.key[index] : heldRecord.mouse[index - 256];
}

void SendUp(EngineState& engine, int index)
{
    const HeldOutput& held = Held(engine.heldRecord, index);
    if (index < 256) {
        PlatformKeyEvent(uint8_t(index), held.scan, held.flags | kKeyEventKeyUp);
        return;
    }
    const MouseButton& button = kButtons[index - 256];
    PlatformMouseEvent(button.up, 0, 0);
    engine.buttonToggle.*button.toggle = 0;
}

// The holds given up: those of some bindings, or all of everything, or all
// of the mouse buttons. A port that gives up something forgets its pressed
// slots, or only the one slot when a slot gives it up: a button or hat
// direction then presses anew at its next report, and an axis end's next
// press or release acts on the table's binding.
struct Release {
    uint64_t holders[kPortCount];
    bool everything;
    bool mouseOnly;
    bool slotButtons;
};

void LetGo(EngineState& engine, const Release& release)
{
    HeldRecord& heldRecord = engine.heldRecord;
    int going[kHeldCount];
    int count = 0;
    uint64_t forget[kPortCount] = {};
    for (int index = 0; index < kHeldCount; ++index) {
        HeldOutput& held = Held(heldRecord, index);
        if (held.order == 0) continue;
        const bool all = release.everything || (release.mouseOnly && index >= 256);
        uint64_t given[kPortCount];
        bool anyGiven = false, othersHold = false;
        for (int port = 0; port < kPortCount; ++port) {
            given[port] = held.holders[port] & (all ? ~uint64_t(0) : release.holders[port]);
            anyGiven = anyGiven || given[port] != 0;
            othersHold = othersHold || (held.holders[port] & ~given[port]) != 0;
        }
        if (!all) {
            if (!anyGiven) continue;
            for (int port = 0; port < kPortCount; ++port) held.holders[port] &= ~given[port];
            // Another binding still holds it down.
            if (othersHold) continue;
        }
        for (int port = 0; port < kPortCount; ++port) {
            if (given[port] == 0) continue;
            forget[port] |= release.slotButtons ? given[port] : ~uint64_t(0);
        }
        going[count++] = index;
    }
    // Last down first, so modifiers go up after the keys pressed with them.
    std::sort(going, going + count,
              [&heldRecord](int a, int b) { return Held(heldRecord, a).order > Held(heldRecord, b).order; });
    for (int i = 0; i < count; ++i) {
        SendUp(engine, going[i]);
        RecordUp(Held(heldRecord, going[i]));
    }
    for (int port = 0; port < kPortCount; ++port) {
        ForgetPressedSlots(engine, port, forget[port]);
    }
}

}  // namespace

void ForgetPressedSlots(EngineState& engine, int port, uint64_t slots)
{
    LastReport& last = engine.lastReport[port];
    last.buttons &= ~uint32_t(slots & kButtonSlots);
    last.hats &= ~uint32_t(slots >> SLOT_HAT_UP);
    ForgetBehaviour(engine, port, slots & engine.pressed.slots[port]);
    engine.pressed.slots[port] &= ~slots;
}

void LetGoForNewBindings(EngineState& engine)
{
    LetGoOfEverything(engine);
    for (int port = 0; port < kPortCount; ++port) ForgetPressedSlots(engine, port, ~uint64_t(0));
}

void LetGoOfEverything(EngineState& engine)
{
    LetGo(engine, {{}, true, false, false});
    ResetLayers(engine);
}

void LetGoOfPort(EngineState& engine, int port)
{
    Release release = {};
    release.holders[port] = ~uint64_t(0);
    LetGo(engine, release);
    // Also the slots that hold nothing at this moment: a turbo between two
    // pulses would press again on a port that no longer acts.
    ForgetPressedSlots(engine, port, ~uint64_t(0));
}

void LetGoOfSlot(EngineState& engine, int port, int slot)
{
    Release release = {};
    release.holders[port] = uint64_t(1) << slot;
    release.slotButtons = true;
    LetGo(engine, release);
}

void LetGoOfSlots(EngineState& engine, uint64_t slots)
{
    Release release = {};
    release.holders[0] = release.holders[1] = slots;
    release.slotButtons = true;
    LetGo(engine, release);
}

void LetGoOfMouseButtons(EngineState& engine)
{
    LetGo(engine, {{}, false, true, false});
}
