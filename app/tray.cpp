#include "app/tray.h"

#include <shellapi.h>

#include "app/messages.h"
#include "platform/platform_win32.h"
#include "platform/shell.h"
#include "quellpad_version.h"

namespace {

constexpr int kTipSize = 64;  // the first form's tip, terminator included
constexpr WORD kIconResource = 1000;
constexpr const char* kTip = QUELLPAD_TITLE;

NOTIFYICONDATAA Blank(HWND window, UINT iconId)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = iconId;
    return data;
}

// At most 63 characters reach the shell; longer tips are cut.
void CopyTip(NOTIFYICONDATAA& data, const char* tip)
{
    const int length = lstrlenA(tip) + 1;
    lstrcpynA(data.szTip, tip, length < kTipSize ? length : kTipSize);
}

}  // namespace

BOOL TrayAdd(HWND window, UINT callbackMessage, UINT iconId, HICON icon, const char* tip)
{
    NOTIFYICONDATAA data = Blank(window, iconId);
    data.uFlags = NIF_MESSAGE;
    data.uCallbackMessage = callbackMessage;
    if (icon != nullptr) {
        data.uFlags |= NIF_ICON;
        data.hIcon = icon;
    }
    if (tip != nullptr) {
        data.uFlags |= NIF_TIP;
        CopyTip(data, tip);
    }
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
    if (tip != nullptr) CopyTip(data, tip);
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
    TrayAdd(platformMainWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, icon, kTip);
    DestroyIcon(icon);
}
