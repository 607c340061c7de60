// The common controls and the common dialogs, loaded the first time the
// editor or a file dialog is opened rather than at start: a tray program
// that runs beside a game all day should not carry them until then.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

// Each fails, as the system call does when it cannot run, if its library or
// function cannot be loaded: FALSE, or -1 for the sheet.
BOOL LateInitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);
INT_PTR LatePropertySheetA(LPCPROPSHEETHEADERA header);
BOOL LateGetOpenFileNameW(LPOPENFILENAMEW dialog);
BOOL LateGetSaveFileNameW(LPOPENFILENAMEW dialog);
