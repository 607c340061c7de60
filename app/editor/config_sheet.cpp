// The editor as a Windows property sheet: the dialog procedures move values
// between the controls and the page logic, which needs no window.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <utility>

#include "app/controller_sources.h"
#include "app/editor/editor_changes.h"
#include "app/running_config.h"
#include "app/shell.h"
#include "app/tray.h"
#include "app/tray_tip.h"
#include "config/sheet_pages.h"
#include "config/vocabulary.h"
#include "engine/joystick_report.h"
#include "platform/on_first_use_win32.h"
#include "platform/platform_win32.h"

namespace {

// The page's own message: refill from the stored binding. Private values of a
// dialog start at WM_APP, as the dialog manager's own (DM_GETDEFID is
// WM_USER) would otherwise refill the page and lose the user's edits.
constexpr UINT WM_REFRESHPAGE = WM_APP;

ActionRecord& ShownRecord(int slot)
{
    return LayerBinding(running.config, selectedLayer, selectedPort, slot);
}

// Shows a setting as an unsigned number, as the common page does.
void ShowNumber(void* page, int control, int32_t value)
{
    SetDlgItemInt(static_cast<HWND>(page), control, UINT(value), FALSE);
}

}  // namespace

void AddKeyChoice(HWND page, const ActionRecord& record, const char* text, int32_t code)
{
    const LRESULT index = SendDlgItemMessageA(page, IDC_KEY_LIST, CB_ADDSTRING, 0, LPARAM(text));
    SendDlgItemMessageA(page, IDC_KEY_LIST, CB_SETITEMDATA, WPARAM(index), LPARAM(code));
    if (code == record.keyCode) SendDlgItemMessageA(page, IDC_KEY_LIST, CB_SETCURSEL, WPARAM(index), 0);
}

void AddMouseChoice(HWND page, const ActionRecord& record, const char* text, int32_t code)
{
    const LRESULT index = SendDlgItemMessageA(page, IDC_MOUSE_LIST, CB_ADDSTRING, 0, LPARAM(text));
    SendDlgItemMessageA(page, IDC_MOUSE_LIST, CB_SETITEMDATA, WPARAM(index), LPARAM(code));
    if (code == record.mouseAction) SendDlgItemMessageA(page, IDC_MOUSE_LIST, CB_SETCURSEL, WPARAM(index), 0);
}

namespace {

void FillActionPage(HWND page, int slot)
{
    const ActionRecord& record = ShownRecord(slot);
    const ActionPageState state = ReadActionRecord(record);
    for (const BindingField& field : kBindingFields) {
        if (field.checkBox != 0) CheckDlgButton(page, field.checkBox, state.*field.ticked ? BST_CHECKED : BST_UNCHECKED);
    }
    SetDlgItemTextA(page, IDC_TEXT, state.text);
    SendDlgItemMessageA(page, IDC_LAYER, CB_SETCURSEL, WPARAM(selectedLayer), 0);
    SendDlgItemMessageA(page, IDC_KEY_LIST, CB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(page, IDC_MOUSE_LIST, CB_RESETCONTENT, 0, 0);
    for (const KeyChoice& choice : KeyChoiceList) AddKeyChoice(page, record, choice.text, choice.code);
    for (const MouseChoice& choice : MouseChoiceList) AddMouseChoice(page, record, choice.text, choice.code);
}

int32_t ChosenCode(HWND page, int list)
{
    const LRESULT index = SendDlgItemMessageA(page, list, CB_GETCURSEL, 0, 0);
    return int32_t(SendDlgItemMessageA(page, list, CB_GETITEMDATA, WPARAM(index), 0));
}

void StorePage(HWND page, int slot)
{
    ActionPageState state = {};
    for (const BindingField& field : kBindingFields) {
        if (field.checkBox != 0) state.*field.ticked = IsDlgButtonChecked(page, field.checkBox) == BST_CHECKED;
    }
    state.keyCode = ChosenCode(page, IDC_KEY_LIST);
    state.mouseAction = ChosenCode(page, IDC_MOUSE_LIST);
    GetDlgItemTextA(page, IDC_TEXT, state.text, kTextSize);
    StoreShownActionPage(slot, state);
}

void ChoosePort(HWND page, int32_t port)
{
    if (selectedPort == port) return;
    selectedPort = port;
    SendMessageA(page, WM_REFRESHPAGE, 0, 0);
}

// Unlike the port, a layer is chosen to go on editing the same slot in
// another set: what the page shows is kept first.
void ChooseLayer(HWND page, int slot)
{
    const LRESULT layer = SendDlgItemMessageA(page, IDC_LAYER, CB_GETCURSEL, 0, 0);
    if (layer < 0 || layer > kLayerCount || layer == selectedLayer) return;
    StorePage(page, slot);
    selectedLayer = int32_t(layer);
    SendMessageA(page, WM_REFRESHPAGE, 0, 0);
}

constexpr int kLayerActionButtons[] = {IDC_LAYER_NONE, IDC_LAYER_WHILE_HELD, IDC_LAYER_TOGGLE};

int32_t ChosenLayerAction(HWND dialog)
{
    for (int action = 0; action < 3; ++action) {
        if (IsDlgButtonChecked(dialog, kLayerActionButtons[action]) == BST_CHECKED) return action;
    }
    return LAYER_ACTION_NONE;
}

// A target means something only with an action, and a layer key's binding
// does not repeat.
void EnableBehaviourControls(HWND dialog)
{
    const bool layerKey = ChosenLayerAction(dialog) != LAYER_ACTION_NONE;
    EnableWindow(GetDlgItem(dialog, IDC_LAYER_TARGET), layerKey);
    EnableWindow(GetDlgItem(dialog, IDC_TURBO), !layerKey);
}

void FillBehaviourDialog(HWND dialog, int slot)
{
    const BehaviourState state = ReadBehaviour(running.config.behaviour[selectedLayer][selectedPort][slot]);
    char caption[64];
    wsprintfA(caption, "Layer and turbo: port %d, %s", int(selectedPort) + 1, kLayerNames[selectedLayer]);
    SetWindowTextA(dialog, caption);
    const int action = state.action >= 0 && state.action < 3 ? state.action : LAYER_ACTION_NONE;
    CheckRadioButton(dialog, IDC_LAYER_NONE, IDC_LAYER_TOGGLE, kLayerActionButtons[action]);
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        const LRESULT index =
            SendDlgItemMessageA(dialog, IDC_LAYER_TARGET, CB_ADDSTRING, 0, LPARAM(kLayerNames[layer]));
        SendDlgItemMessageA(dialog, IDC_LAYER_TARGET, CB_SETITEMDATA, WPARAM(index), LPARAM(layer));
        if (layer == state.target) SendDlgItemMessageA(dialog, IDC_LAYER_TARGET, CB_SETCURSEL, WPARAM(index), 0);
    }
    SendDlgItemMessageA(dialog, IDC_TURBO, EM_LIMITTEXT, 4, 0);
    SetDlgItemTextA(dialog, IDC_TURBO, state.turbo);
    EnableBehaviourControls(dialog);
}

INT_PTR CALLBACK BehaviourDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        FillBehaviourDialog(dialog, int(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_LAYER_NONE:
        case IDC_LAYER_WHILE_HELD:
        case IDC_LAYER_TOGGLE:
            EnableBehaviourControls(dialog);
            return TRUE;
        case IDOK: {
            BehaviourState state = {};
            state.action = ChosenLayerAction(dialog);
            state.target = ChosenCode(dialog, IDC_LAYER_TARGET);
            GetDlgItemTextA(dialog, IDC_TURBO, state.turbo, sizeof state.turbo);
            StoreShownBehaviour(int(GetWindowLongPtrA(dialog, DWLP_USER)), state);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// The dialog belongs to the sheet, which it disables while it is open.
void EditBehaviour(HWND page, int slot)
{
    DialogBoxParamA(platformInstance, IDD_BEHAVIOUR, GetParent(page), BehaviourDialogProc, LPARAM(slot));
}

}  // namespace

INT_PTR ActionPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam, int slot)
{
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(page, IDC_PORT1, IDC_PORT2, selectedPort == 0 ? IDC_PORT1 : IDC_PORT2);
        for (const char* name : kLayerNames) SendDlgItemMessageA(page, IDC_LAYER, CB_ADDSTRING, 0, LPARAM(name));
        FillActionPage(page, slot);
        return TRUE;
    case WM_REFRESHPAGE:
        FillActionPage(page, slot);
        return TRUE;
    case WM_COMMAND: {
        const int control = LOWORD(wParam);
        if (control == IDC_PORT1) ChoosePort(page, 0);
        if (control == IDC_PORT2) ChoosePort(page, 1);
        if (control == IDC_LAYER && HIWORD(wParam) == CBN_SELCHANGE) ChooseLayer(page, slot);
        if (control == IDC_BEHAVIOUR) EditBehaviour(page, slot);
        int partners[2];
        if (ExclusionPartners(control, IsDlgButtonChecked(page, control) == BST_CHECKED, partners)) {
            CheckDlgButton(page, partners[0], BST_UNCHECKED);
            CheckDlgButton(page, partners[1], BST_UNCHECKED);
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == UINT(PSN_KILLACTIVE)) {
            StorePage(page, slot);
        } else if (header->code == UINT(PSN_SETACTIVE)) {
            // The port or layer may have been changed on another page since
            // this one was filled; show, and later store into, the current
            // record.
            CheckRadioButton(page, IDC_PORT1, IDC_PORT2, selectedPort == 0 ? IDC_PORT1 : IDC_PORT2);
            FillActionPage(page, slot);
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

namespace {

// One entry point per event slot: the slot reaches the shared procedure
// through the entry point, not through the page's data.
template <int Slot>
INT_PTR CALLBACK SlotPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ActionPageProc(page, message, wParam, lParam, Slot);
}

template <int... Slots>
constexpr DLGPROC MakeSlotEntryPoints(std::integer_sequence<int, Slots...>, int slot)
{
    constexpr DLGPROC kEntryPoints[] = {&SlotPageProc<Slots>...};
    return kEntryPoints[slot];
}

DLGPROC SlotEntryPoint(int slot)
{
    return MakeSlotEntryPoints(std::make_integer_sequence<int, kAllSlotCount>{}, slot);
}

}  // namespace

// Exported under its plain name (quellpad.def).
extern "C" INT_PTR CALLBACK Config1Proc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (int control : {IDC_CONTINUOUS, IDC_DYNAMIC, IDC_TOGGLE_LOCK, IDC_DIGITAL, IDC_DOS_MODE}) {
            CheckDlgButton(page, control, UINT(*CommonOption(running.config.settings, control)));
        }
        for (const SpinControl& spin : kSpins) ShowNumber(page, spin.value, running.config.settings.*spin.setting);
        return TRUE;
    case WM_COMMAND:
        // The auto check box has already toggled its mark; follow it.
        FlipCommonOption(LOWORD(wParam));
        return FALSE;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != UINT(UDN_DELTAPOS)) return FALSE;
        const int control = LOWORD(wParam);
        const int32_t delta = reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta;
        SpinCommonSetting(control, delta, ShowNumber, page);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

namespace {

constexpr int kSourceLists[kPortCount] = {IDC_PORT1_SOURCE, IDC_PORT2_SOURCE};

// Each port's list, as the table of sources offers it now.
void FillControllersPage(HWND page)
{
    const bool present = kControllerSources[SOURCE_XINPUT].present();
    SetDlgItemTextA(page, IDC_XINPUT_NOTE,
                    present ? "An Xbox controller read through XInput has both triggers on axes of their own "
                              "(Z and V) and a guide button (11)."
                            : "No XInput library was found on this system, so only the joystick driver can be read.");
    for (int port = 0; port < kPortCount; ++port) {
        SourceChoice choices[kMaxSourceChoices];
        const int count = SourceChoices(port, choices);
        SendDlgItemMessageA(page, kSourceLists[port], CB_RESETCONTENT, 0, 0);
        for (int i = 0; i < count; ++i) {
            const LRESULT index = SendDlgItemMessageA(page, kSourceLists[port], CB_ADDSTRING, 0, LPARAM(choices[i].text));
            SendDlgItemMessageA(page, kSourceLists[port], CB_SETITEMDATA, WPARAM(index), LPARAM(choices[i].source));
            if (choices[i].source == running.config.portSource[port]) {
                SendDlgItemMessageA(page, kSourceLists[port], CB_SETCURSEL, WPARAM(index), 0);
            }
        }
    }
}

INT_PTR CALLBACK ControllersPageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        FillControllersPage(page);
        return TRUE;
    }
    if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lParam)->code != UINT(PSN_KILLACTIVE)) return FALSE;
    for (int port = 0; port < kPortCount; ++port) {
        const LRESULT index = SendDlgItemMessageA(page, kSourceLists[port], CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) continue;  // a source this system cannot read stays chosen
        StoreShownSource(port, uint8_t(SendDlgItemMessageA(page, kSourceLists[port], CB_GETITEMDATA, WPARAM(index), 0)));
    }
    return FALSE;
}

// A page entry in its first form. The sheet steps through the page list by
// each entry's dwSize, so the entries must lie exactly this far apart.
struct PageEntry {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    LPCSTR pszTemplate;
    HICON hIcon;
    LPCSTR pszTitle;
    DLGPROC pfnDlgProc;
    LPARAM lParam;
    LPFNPSPCALLBACKA pfnCallback;
    UINT* pcRefParent;
};
static_assert(sizeof(PageEntry) == 40, "the first form of PROPSHEETPAGEA");
static_assert(offsetof(PageEntry, pfnDlgProc) == offsetof(PROPSHEETPAGEA, pfnDlgProc));

}  // namespace

int ShowConfigSheet()
{
    // The common page's arrows are up-down controls.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
    LateInitCommonControlsEx(&classes);
    SheetPage pages[kMaxPages];
    const int count = BuildPageList(running.engine.joyCaps, pages);
    PageEntry entries[kMaxPages] = {};
    for (int i = 0; i < count; ++i) {
        PageEntry& entry = entries[i];
        entry.dwSize = PROPSHEETPAGEA_V1_SIZE;
        entry.dwFlags = PSP_USETITLE;
        entry.hInstance = platformInstance;
        entry.pszTitle = pages[i].title;
        switch (pages[i].kind) {
        case PAGE_COMMON:
            entry.pszTemplate = IDD_COMMON_PAGE;
            entry.pfnDlgProc = Config1Proc;
            break;
        case PAGE_ACTION:
            entry.pszTemplate = IDD_ACTION_PAGE;
            entry.pfnDlgProc = SlotEntryPoint(pages[i].slot);
            break;
        case PAGE_INFO:
            entry.pszTemplate = IDD_INFO_PAGE;
            break;
        case PAGE_CONTROLLERS:
            entry.pszTemplate = IDD_CONTROLLERS_PAGE;
            entry.pfnDlgProc = ControllersPageProc;
            break;
        }
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = platformMainWindow;
    header.hInstance = platformInstance;
    // Names the profile that runs, whose file OK will write.
    char title[kTitleSize], caption[kTitleSize];
    RunningTitle(title);
    ShownText(title, caption, kTitleSize);
    header.pszCaption = caption;
    header.nPages = UINT(count);
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(entries);
    return int(LatePropertySheetA(&header));
}
