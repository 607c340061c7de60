#include "app/tray.h"

#include <shellapi.h>

#include "app/messages.h"
#include "app/tray_request.h"
#include "platform/platform_win32.h"
#include "platform/shell.h"
#include "platform/tray_tip.h"
#include "quellpad_version.h"

namespace {

static_assert(kTrayMessage == NIF_MESSAGE && kTrayIcon == NIF_ICON && kTrayTip == NIF_TIP);

constexpr WORD kIconResource = 1000;

// What the icon says, kept for the next add: at start-up and after a
// restarted taskbar.
char currentTip[kTrayTipSize] = QUELLPAD_TITLE;
bool iconAdded;

NOTIFYICONDATAA Blank(HWND window, UINT iconId)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    return data;
}

}  // namespace

BOOL TrayAdd(HWND window, UINT callbackMessage, UINT iconId, HICON icon, const char* tip)
{
    NOTIFYICONDATAA data = Blank(window, iconId);
    data.uFlags = TrayAddFlags(icon != nullptr, tip != nullptr);
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    if (tip != nullptr) CopyTrayTip(data.szTip, tip);
    return Shell_NotifyIconA(NIM_ADD, &data);
}

BOOL TrayDelete(HWND window, UINT iconId)
{
    NOTIFYICONDATAA data = Blank(window, iconId);
    return Shell_NotifyIconA(NIM_DELETE, &data);
}

BOOL TraySetTip(HWND window, UINT iconId, const char* tip)
{
    NOTIFYICONDATAA data = Blank(window, iconId);
    data.uFlags = NIF_TIP;
    if (tip != nullptr) CopyTrayTip(data.szTip, tip);
    return Shell_NotifyIconA(NIM_MODIFY, &data);
}

BOOL TraySetIcon(HWND window, UINT iconId, HICON icon)
{
    NOTIFYICONDATAA data = Blank(window, iconId);
    data.uFlags = NIF_ICON;
    data.hIcon = icon;
    return Shell_NotifyIconA(NIM_MODIFY, &data);
}

void AddProgramTrayIcon()
{
    // The shell keeps its own copy of the image, so ours can go at once.
    HICON icon = LoadIconA(platformInstance, MAKEINTRESOURCEA(kIconResource));
    TrayAdd(platformMainWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, icon, currentTip);
    DestroyIcon(icon);
    iconAdded = true;
}

void PlatformSetTrayTip(const char* text)
{
    CopyTrayTip(currentTip, text);
    if (iconAdded) TraySetTip(platformMainWindow, TRAY_ICON_ID, currentTip);
}
