#include "app/tray.h"

#include <shellapi.h>

#include "app/messages.h"
#include "app/tray_request.h"
#include "platform/platform_win32.h"
#include "app/shell.h"
#include "quellpad_version.h"

namespace {

static_assert(kTrayMessage == NIF_MESSAGE && kTrayIcon == NIF_ICON && kTrayTip == NIF_TIP);

constexpr const char* kTip = QUELLPAD_TITLE;

char* CopyBounded(char* to, const char* from, int count)
{
    return lstrcpynA(to, from, count);
}

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
    if (tip != nullptr) CopyTrayTip(data.szTip, tip, CopyBounded);
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
    if (tip != nullptr) CopyTrayTip(data.szTip, tip, CopyBounded);
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
    HICON icon = LoadIconA(platformInstance, MAKEINTRESOURCEA(IDI_QUELLPAD));
    TrayAdd(platformMainWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, icon, kTip);
    DestroyIcon(icon);
}
