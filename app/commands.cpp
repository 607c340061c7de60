#include "app/commands.h"

#include "app/edit_config.h"
#include "app/editor/config_dialogs.h"
#include "app/messages.h"
#include "app/switch_hold.h"
#include "app/shell.h"
#include "app/start_with_windows.h"
#include "platform/window.h"
#include "quellpad_version.h"

namespace {

constexpr MenuItem kConfigMenu[] = {
    {"Load ...", IDM_LOAD}, {"Save as ...", IDM_SAVEAS}, {"Config ...", IDM_CONFIG}};

constexpr const char* kAboutText =
    QUELLPAD_TITLE ", joystick to keyboard and mouse, made by\n"
    "the Quellpad developers\n"
    "Beispielweg 12\n"
    "12345 Musterstadt";

// Modal loops keep dispatching our messages. Without this guard a second
// click on the icon could open a second editor over the same bindings, or
// Exit could pull the program out from under an open one. Nor may the
// configuration switch under an open editor or dialog.
bool modalOpen;

struct ModalScope {
    ModalScope()
    {
        modalOpen = true;
        HoldSwitching();
    }
    ~ModalScope()
    {
        modalOpen = false;
        ReleaseSwitching();
    }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
};

}  // namespace

bool ModalOpen()
{
    return modalOpen;
}

void HandleTrayNotify(uint32_t iconId, uint32_t mouseMessage)
{
    if (iconId != TRAY_ICON_ID) return;
    if (mouseMessage == kWmLButtonDown || mouseMessage == kWmLButtonDblClk) {
        PlatformPostToMainWindow(WM_SHOWCONFIGMENU);
    } else if (mouseMessage == kWmRButtonDown) {
        PlatformPostToMainWindow(WM_SHOWMAINMENU);
    }
}

void ShowMenu(uint32_t request)
{
    if (modalOpen) return;
    ModalScope scope;
    if (request == WM_SHOWMAINMENU) {
        // The tick is read when the menu opens, never at start.
        const MenuItem mainMenu[] = {{"&About...", IDM_ABOUT},
                                     {"Start with Windows", IDM_STARTWITHWINDOWS, StartsWithWindows()},
                                     {"&Exit", IDM_EXIT}};
        PlatformTrackPopupMenu(mainMenu, 3);
    } else {
        PlatformTrackPopupMenu(kConfigMenu, 3);
    }
}

void HandleCommand(uint32_t command)
{
    if (modalOpen) return;
    ModalScope scope;
    switch (command) {
    case IDM_EXIT:
        PlatformDestroyMainWindow();
        break;
    case IDM_ABOUT:
        PlatformMessageBox(kAboutText, " About...");
        break;
    case IDM_CONFIG:
        EditConfig();
        break;
    case IDM_STARTWITHWINDOWS:
        ToggleStartWithWindows();
        break;
    case IDM_LOAD:
        LoadConfigFromDialog();
        break;
    case IDM_SAVEAS:
        SaveConfigFromDialog();
        break;
    default:
        break;
    }
}
