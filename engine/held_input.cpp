#include "engine/held_input.h"

#include "engine/engine_state.h"
#include "platform/input_codes.h"
#include "platform/platform.h"

namespace {

struct MouseButton {
    uint32_t down, up;
    int32_t ButtonToggle::*toggle;
};
constexpr MouseButton kButtons[] = {
    {kMouseLeftDown, kMouseLeftUp, &ButtonToggle::left},
    {kMouseMiddleDown, kMouseMiddleUp, &ButtonToggle::middle},
    {kMouseRightDown, kMouseRightUp, &ButtonToggle::right},
};

int Find(bool mouse, uint8_t vk)
{
    for (int i = 0; i < heldRecord.count; ++i) {
        if (heldRecord.held[i].mouse == mouse && heldRecord.held[i].vk == vk) return i;
    }
    return -1;
}

void Remove(int index)
{
    for (int i = index + 1; i < heldRecord.count; ++i) heldRecord.held[i - 1] = heldRecord.held[i];
    --heldRecord.count;
}

// A repeated down moves the entry to the end: it is now the last down.
void RecordDown(bool mouse, uint8_t vk, uint8_t scan, uint32_t flags)
{
    HeldOutput entry = {mouse, vk, scan, flags, {}};
    const int found = Find(mouse, vk);
    if (found >= 0) {
        entry.holders[0] = heldRecord.held[found].holders[0];
        entry.holders[1] = heldRecord.held[found].holders[1];
        Remove(found);
    }
    if (heldRecord.actingPort >= 0) entry.holders[heldRecord.actingPort] |= uint64_t(1) << heldRecord.actingSlot;
    heldRecord.held[heldRecord.count++] = entry;
}

void RecordUp(bool mouse, uint8_t vk)
{
    const int found = Find(mouse, vk);
    if (found >= 0) Remove(found);
}

// The holds given up: those of some bindings, or all of everything, or all
// of the mouse buttons. A port that gives up something forgets its pressed
// buttons, or only the one slot's button when a slot gives it up.
struct Release {
    uint64_t holders[kPortCount];
    bool everything;
    bool mouseOnly;
    bool slotButtons;
};

void SendUp(const HeldOutput& entry)
{
    if (!entry.mouse) {
        PlatformKeyEvent(entry.vk, entry.scan, entry.flags | kKeyEventKeyUp);
        return;
    }
    for (const MouseButton& button : kButtons) {
        if (button.down != entry.vk) continue;
        PlatformMouseEvent(button.up, 0, 0);
        buttonToggle.*button.toggle = 0;
    }
}

void LetGo(const Release& release)
{
    uint32_t forget[kPortCount] = {};
    for (int i = heldRecord.count - 1; i >= 0; --i) {
        HeldOutput& entry = heldRecord.held[i];
        const bool all = release.everything || (release.mouseOnly && entry.mouse);
        uint64_t given[kPortCount];
        bool anyGiven = false, othersHold = false;
        for (int port = 0; port < kPortCount; ++port) {
            given[port] = entry.holders[port] & (all ? ~uint64_t(0) : release.holders[port]);
            anyGiven = anyGiven || given[port] != 0;
            othersHold = othersHold || (entry.holders[port] & ~given[port]) != 0;
        }
        if (!all) {
            if (!anyGiven) continue;
            for (int port = 0; port < kPortCount; ++port) entry.holders[port] &= ~given[port];
            // Another binding still holds it down.
            if (othersHold) continue;
        }
        for (int port = 0; port < kPortCount; ++port) {
            if (given[port] != 0) forget[port] |= release.slotButtons ? uint32_t(given[port]) : ~0u;
        }
        SendUp(entry);
        Remove(i);
    }
    for (int port = 0; port < kPortCount; ++port) lastReport[port].buttons &= ~forget[port];
}

}  // namespace

void SendKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags)
{
    PlatformKeyEvent(vk, scan, flags);
    if ((flags & kKeyEventKeyUp) != 0) {
        RecordUp(false, vk);
    } else {
        RecordDown(false, vk, scan, flags);
    }
}

void SendMouseEvent(uint32_t flags, int32_t dx, int32_t dy)
{
    PlatformMouseEvent(flags, dx, dy);
    for (const MouseButton& button : kButtons) {
        if ((flags & button.down) != 0) RecordDown(true, uint8_t(button.down), 0, 0);
        if ((flags & button.up) != 0) RecordUp(true, uint8_t(button.down));
    }
}

void SetActingBinding(int port, int slot)
{
    heldRecord.actingPort = port;
    heldRecord.actingSlot = slot;
}

void LetGoOfEverything()
{
    LetGo({{}, true, false, false});
}

void LetGoOfPort(int port)
{
    Release release = {};
    release.holders[port] = ~uint64_t(0);
    LetGo(release);
}

void LetGoOfSlot(int port, int slot)
{
    Release release = {};
    release.holders[port] = uint64_t(1) << slot;
    release.slotButtons = true;
    LetGo(release);
}

void LetGoOfMouseButtons()
{
    LetGo({{}, false, true, false});
}
