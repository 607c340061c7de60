#include "app/editor/editor_changes.h"

#include <cstring>

#include "app/messages.h"
#include "config/config_file.h"
#include "config/mapping_table.h"
#include "config/settings.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/platform.h"
#include "platform/shell.h"

namespace {

// What the editor started from, for a Cancel whose reload finds no file.
struct EditorStart {
    ActionRecord table[kPortCount][kSlotCount];
    ActionRecord hats[kPortCount][kHatSlotCount];
    Settings settings;
};
EditorStart editorStart;
bool cancelReloading;

// Slots 32..43: both ends of the six axes.
constexpr uint64_t kAxisEndSlots = uint64_t(0xFFF) << SLOT_X_PLUS;
static_assert(SLOT_X_PLUS + 12 == SLOT_V_MINUS + 1);

}  // namespace

void StoreShownActionPage(int slot, const ActionPageState& page)
{
    ActionRecord& record = Binding(selectedPort, slot);
    ActionRecord stored = record;
    StoreActionPage(page, stored);
    if (std::memcmp(&stored, &record, sizeof record) == 0) return;
    LetGoOfSlot(selectedPort, slot);
    record = stored;
}

void FlipCommonOption(int control)
{
    int32_t* option = CommonOption(control);
    if (option == nullptr) return;
    if (control == IDC_TOGGLE_LOCK) LetGoOfMouseButtons();
    // continuous decides when an axis end lets go (buttons and hats let go
    // at their edge either way): what the ends hold would outlast the change.
    if (control == IDC_CONTINUOUS) LetGoOfSlots(kAxisEndSlots);
    *option ^= 1;
}

int SpinCommonSetting(int control, int32_t delta)
{
    const int shown = ApplySpinDelta(control, delta);
    if (shown != 0 && control == IDC_SENSITIVITY_SPIN) ComputeAxisThresholds();
    return shown;
}

void EditConfig()
{
    std::memcpy(editorStart.table, MappingTable, sizeof MappingTable);
    std::memcpy(editorStart.hats, HatTable, sizeof HatTable);
    editorStart.settings = settings;
    if (ShowConfigSheet() > 0) {
        if (SaveConfigToDefault()) PlatformSendToMainWindow(WM_RELOADCONFIG);
        return;
    }
    // Cancel undoes the live edits through the reload.
    cancelReloading = true;
    PlatformSendToMainWindow(WM_RELOADCONFIG);
    cancelReloading = false;
}

bool RestoreCancelledEdits()
{
    if (!cancelReloading) return false;
    std::memcpy(MappingTable, editorStart.table, sizeof MappingTable);
    std::memcpy(HatTable, editorStart.hats, sizeof HatTable);
    settings = editorStart.settings;
    return true;
}
