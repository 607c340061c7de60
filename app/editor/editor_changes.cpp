#include "app/editor/editor_changes.h"

#include <cstring>

#include "app/messages.h"
#include "app/running_config.h"
#include "app/shell.h"
#include "app/stick_ports.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/window.h"

int32_t selectedPort;
int32_t selectedLayer;

namespace {

// Slots 32..43: both ends of the six axes.
constexpr uint64_t kAxisEndSlots = uint64_t(0xFFF) << SLOT_X_PLUS;
static_assert(SLOT_X_PLUS + 12 == SLOT_V_MINUS + 1);

}  // namespace

void StoreShownActionPage(int slot, const ActionPageState& page)
{
    ActionRecord& record = LayerBinding(running.config, selectedLayer, selectedPort, slot);
    // The base keeps storing a visited page as it always has (a key list
    // with nothing chosen stores -1).
    if (selectedLayer != 0 && PageShowsRecord(page, record)) return;
    ActionRecord stored = record;
    StoreActionPage(page, stored);
    if (std::memcmp(&stored, &record, sizeof record) == 0) return;
    LetGoOfSlot(running.engine, selectedPort, slot);
    record = stored;
}

void StoreShownBehaviour(int slot, const BehaviourState& state)
{
    SlotBehaviour& behaviour = running.config.behaviour[selectedLayer][selectedPort][slot];
    const SlotBehaviour stored = StoreBehaviour(state);
    if (std::memcmp(&stored, &behaviour, sizeof behaviour) == 0) return;
    LetGoOfSlot(running.engine, selectedPort, slot);
    behaviour = stored;
}

void FlipCommonOption(int control)
{
    int32_t* option = CommonOption(running.config.settings, control);
    if (option == nullptr) return;
    if (control == IDC_TOGGLE_LOCK) LetGoOfMouseButtons(running.engine);
    // continuous decides when an axis end lets go (buttons and hats let go
    // at their edge either way): what the ends hold would outlast the change.
    if (control == IDC_CONTINUOUS) LetGoOfSlots(running.engine, kAxisEndSlots);
    *option ^= 1;
}

void SpinCommonSetting(int control, int32_t delta, ShowValue show, void* page)
{
    const int shown = ApplySpinDelta(running.config.settings, control, delta);
    for (const SpinControl& spin : kSpins) {
        if (spin.value == shown) show(page, shown, running.config.settings.*spin.setting);
    }
    if (shown != 0 && control == IDC_SENSITIVITY_SPIN) {
        ComputeAxisThresholds(running.engine, running.config.settings);
    }
}

void StoreShownSource(int port, uint8_t source)
{
    if (running.config.portSource[port] == source) return;
    // At once and whole: what the port held is let go of, and the old source,
    // no longer read, cannot press it again.
    LetGoOfPort(running.engine, port);
    running.config.portSource[port] = source;
    ApplyPortSources();
}
