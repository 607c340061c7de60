#include "config/sheet_pages.h"

#include <cstdio>
#include <cstring>

#include "config/file_layout.h"
#include "config/settings.h"
#include "config/vocabulary.h"
#include "platform/input_codes.h"

namespace {

bool EitherPortHas(const JoyCaps (&caps)[kPortCount], uint32_t flag, uint32_t axes)
{
    for (const JoyCaps& port : caps) {
        if ((port.wCaps & flag) != 0 || port.wNumAxes >= axes) return true;
    }
    return false;
}

void AddPage(SheetPage (&pages)[kMaxPages], int& count, PageKind kind, int slot, const char* title)
{
    SheetPage& page = pages[count++];
    page.kind = kind;
    page.slot = slot;
    std::snprintf(page.title, sizeof page.title, "%s", title);
}

void AddAxisPages(SheetPage (&pages)[kMaxPages], int& count, char axis, int plusSlot)
{
    char title[16];
    std::snprintf(title, sizeof title, "Axis %c +", axis);
    AddPage(pages, count, PAGE_ACTION, plusSlot, title);
    std::snprintf(title, sizeof title, "Axis %c -", axis);
    AddPage(pages, count, PAGE_ACTION, plusSlot + 1, title);
}

}  // namespace

int BuildPageList(const JoyCaps (&caps)[kPortCount], SheetPage (&pages)[kMaxPages])
{
    int count = 0;
    AddPage(pages, count, PAGE_COMMON, -1, "common");

    const uint32_t reported = caps[0].wNumButtons > caps[1].wNumButtons ? caps[0].wNumButtons : caps[1].wNumButtons;
    // A driver may claim more buttons than a report can carry.
    const uint32_t buttons = reported < kButtonSlotCount ? reported : kButtonSlotCount;
    for (uint32_t n = 1; n <= buttons; ++n) {
        char title[16];
        std::snprintf(title, sizeof title, "Button %u", n);
        AddPage(pages, count, PAGE_ACTION, int(n - 1), title);
    }

    AddAxisPages(pages, count, 'X', SLOT_X_PLUS);
    AddAxisPages(pages, count, 'Y', SLOT_Y_PLUS);
    if (EitherPortHas(caps, kJoyCapsHasZ, 3)) AddAxisPages(pages, count, 'Z', SLOT_Z_PLUS);
    if (EitherPortHas(caps, kJoyCapsHasR, 4)) AddAxisPages(pages, count, 'R', SLOT_R_PLUS);
    if (EitherPortHas(caps, kJoyCapsHasU, 5)) AddAxisPages(pages, count, 'U', SLOT_U_PLUS);
    if (EitherPortHas(caps, kJoyCapsHasV, 6)) AddAxisPages(pages, count, 'V', SLOT_V_PLUS);
    if (((caps[0].wCaps | caps[1].wCaps) & kJoyCapsHasPov) != 0) {
        AddPage(pages, count, PAGE_ACTION, SLOT_HAT_UP, "Hat up");
        AddPage(pages, count, PAGE_ACTION, SLOT_HAT_RIGHT, "Hat right");
        AddPage(pages, count, PAGE_ACTION, SLOT_HAT_DOWN, "Hat down");
        AddPage(pages, count, PAGE_ACTION, SLOT_HAT_LEFT, "Hat left");
    }

    AddPage(pages, count, PAGE_INFO, -1, "CopyRight");
    AddPage(pages, count, PAGE_CONTROLLERS, -1, "Controllers");
    return count;
}

int32_t* CommonOption(Settings& settings, int control)
{
    switch (control) {
    case IDC_CONTINUOUS: return &settings.continuous;
    case IDC_DYNAMIC: return &settings.dynamic;
    case IDC_TOGGLE_LOCK: return &settings.toggleLock;
    case IDC_DIGITAL: return &settings.digital;
    case IDC_DOS_MODE: return &settings.dosMode;
    default: return nullptr;
    }
}

int ApplySpinDelta(Settings& settings, int control, int32_t iDelta)
{
    for (const SpinControl& spin : kSpins) {
        if (spin.spin != control) continue;
        const SettingLayout& range = SettingLayoutOf(spin.setting);
        int32_t& setting = settings.*spin.setting;
        // The arrows propose -1 for up; subtracting makes up raise the value.
        // Computed wide, so a value from a file far out of range cannot wrap.
        int64_t value = int64_t(setting) - iDelta;
        if (value < range.low) value = range.low;
        if (value > range.high) value = range.high;
        setting = int32_t(value);
        return spin.value;
    }
    return 0;
}

bool ExclusionPartners(int control, bool ticked, int (&partners)[2])
{
    if (!ticked) return false;
    static const int kGroups[2][3] = {{IDC_SHIFT, IDC_CONTROL, IDC_ALT},
                                      {IDC_SEND_KEY, IDC_SEND_TEXT, IDC_SEND_MOUSE}};
    for (const auto& group : kGroups) {
        for (int i = 0; i < 3; ++i) {
            if (group[i] != control) continue;
            partners[0] = group[(i + 1) % 3];
            partners[1] = group[(i + 2) % 3];
            return true;
        }
    }
    return false;
}

ActionPageState ReadActionRecord(const ActionRecord& record)
{
    ActionPageState page = {};
    for (const BindingField& field : kBindingFields) {
        if (field.ticked != nullptr) page.*field.ticked = FlagCounts(field, record.*field.member);
    }
    page.keyCode = record.keyCode;
    page.mouseAction = record.mouseAction;
    // A file may hold a text without terminator; show its 40 bytes.
    std::memcpy(page.text, record.text, kTextSize);
    page.text[kTextSize] = '\0';
    return page;
}

void StoreActionPage(const ActionPageState& page, ActionRecord& record)
{
    for (const BindingField& field : kBindingFields) {
        if (field.ticked != nullptr) record.*field.member = page.*field.ticked ? 1 : 0;
    }
    record.keyCode = page.keyCode;
    const size_t length = strnlen(page.text, kTextSize - 1);
    std::memcpy(record.text, page.text, length);
    record.text[length] = '\0';
    record.mouseAction = page.mouseAction;
}

bool PageShowsRecord(const ActionPageState& page, const ActionRecord& record)
{
    const ActionPageState shown = ReadActionRecord(record);
    return page.on == shown.on && page.shift == shown.shift && page.control == shown.control &&
           page.alt == shown.alt && page.sendKey == shown.sendKey && page.sendText == shown.sendText &&
           page.sendMouse == shown.sendMouse &&
           page.keyCode == (FindKeyChoice(record.keyCode) != nullptr ? record.keyCode : -1) &&
           page.mouseAction == (FindMouseChoice(record.mouseAction) != nullptr ? record.mouseAction : -1) &&
           std::strncmp(page.text, shown.text, kTextSize - 1) == 0;
}

BehaviourState ReadBehaviour(const SlotBehaviour& behaviour)
{
    BehaviourState state = {};
    state.action = behaviour.layerAction;
    state.target = behaviour.layerTarget >= 1 && behaviour.layerTarget <= kLayerCount ? behaviour.layerTarget : 1;
    std::snprintf(state.turbo, sizeof state.turbo, "%u", unsigned(behaviour.turbo));
    return state;
}

uint16_t TurboFromText(const char* text)
{
    const char* c = text;
    while (*c == ' ') ++c;  // pasted with the number
    uint32_t value = 0;
    for (; *c >= '0' && *c <= '9'; ++c) {
        value = value * 10 + uint32_t(*c - '0');
        if (value > kTurboMax) value = kTurboMax + 1;  // stays above the range however long
    }
    if (value == 0) return 0;
    if (value < kTurboMin) return kTurboMin;
    if (value > kTurboMax) return kTurboMax;
    return uint16_t(value);
}

SlotBehaviour StoreBehaviour(const BehaviourState& state)
{
    SlotBehaviour behaviour = {};
    if (state.action == LAYER_WHILE_HELD || state.action == LAYER_TOGGLE) {
        behaviour.layerAction = uint8_t(state.action);
        behaviour.layerTarget = state.target >= 1 && state.target <= kLayerCount ? uint8_t(state.target) : 1;
    }
    behaviour.turbo = TurboFromText(state.turbo);
    return behaviour;
}
