#include "app/tray.h"

#include <shellapi.h>

#include "app/messages.h"
#include "app/tray_tip.h"
#include "app/tray_request.h"
#include "platform/platform_win32.h"
#include "app/shell.h"
#include "quellpad_version.h"

namespace {

static_assert(kTrayMessage == NIF_MESSAGE && kTrayIcon == NIF_ICON && kTrayTip == NIF_TIP);

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

void ShownText(const char* text, char* shown, int size)
{
    wchar_t wide[512];
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 512) == 0 ||
        WideCharToMultiByte(CP_ACP, 0, wide, -1, shown, size, nullptr, nullptr) == 0) {
        lstrcpynA(shown, text, size);
    }
}

void AddProgramTrayIcon()
{
    // The shell keeps its own copy of the image, so ours can go at once. A
    // restarted taskbar gets the tip of what runs now.
    HICON icon = LoadIconA(platformInstance, MAKEINTRESOURCEA(IDI_QUELLPAD));
    char title[kTitleSize], tip[kTitleSize];
    RunningTip(title);
    ShownText(title, tip, kTitleSize);
    TrayAdd(platformMainWindow, WM_TRAYNOTIFY, TRAY_ICON_ID, icon, tip);
    DestroyIcon(icon);
}

void SetProgramTrayTip(const char* text)
{
    char tip[kTitleSize];
    ShownText(text, tip, kTitleSize);
    TraySetTip(platformMainWindow, TRAY_ICON_ID, tip);
}

void ShowTrayBalloon(const char* text)
{
    // The balloon needs the structure's second form (Windows 2000 and later);
    // older shells refuse the call and show nothing.
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = platformMainWindow;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_INFO;
    ShownText(text, data.szInfo, sizeof data.szInfo);
    lstrcpynA(data.szInfoTitle, QUELLPAD_TITLE, sizeof data.szInfoTitle);
    data.dwInfoFlags = NIIF_WARNING;
    Shell_NotifyIconA(NIM_MODIFY, &data);
}
