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
    *option ^= 1;
}

void SpinCommonSetting(int control, int32_t delta, ShowValue show, void* page)
{
    const int shown = ApplySpinDelta(control, delta);
    for (const SpinControl& spin : kSpins) {
        if (spin.value == shown) show(page, shown, settings.*spin.setting);
    }
    if (shown != 0 && control == IDC_SENSITIVITY_SPIN) ComputeAxisThresholds();
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
