// The notification-area icon. Each call fills one NOTIFYICONDATA in its
// first form and returns the shell's success flag.
#pragma once

#include <windows.h>

BOOL TrayAdd(HWND window, UINT callbackMessage, UINT iconId, HICON icon, const char* tip);
BOOL TrayDelete(HWND window, UINT iconId);
BOOL TraySetTip(HWND window, UINT iconId, const char* tip);
BOOL TraySetIcon(HWND window, UINT iconId, HICON icon);

// UTF-8 text as the ANSI calls show it: what the code page cannot spell
// comes out as the system's stand-in character.
void ShownText(const char* text, char* shown, int size);
