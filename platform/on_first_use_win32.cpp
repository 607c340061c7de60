#include "platform/on_first_use_win32.h"

namespace {

using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
using PropertySheetAFunction = INT_PTR(WINAPI*)(LPCPROPSHEETHEADERA);
using FileDialogFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);

InitCommonControlsExFunction initCommonControlsEx;
PropertySheetAFunction propertySheetA;
FileDialogFunction getOpenFileNameW;
FileDialogFunction getSaveFileNameW;

// Loads by plain name, so that the manifest's version 6 of the common
// controls is the one that comes. A function once found stays: its library
// is never let go. One that is not found is looked for again next time.
template <typename Function>
Function Late(Function& function, const char* library, const char* name)
{
    if (function != nullptr) return function;
    HMODULE module = LoadLibraryA(library);
    if (module == nullptr) return nullptr;
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    if (function == nullptr) FreeLibrary(module);
    return function;
}

}  // namespace

BOOL LateInitCommonControlsEx(const INITCOMMONCONTROLSEX* classes)
{
    const auto function = Late(initCommonControlsEx, "comctl32.dll", "InitCommonControlsEx");
    return function != nullptr && function(classes);
}

INT_PTR LatePropertySheetA(LPCPROPSHEETHEADERA header)
{
    const auto function = Late(propertySheetA, "comctl32.dll", "PropertySheetA");
    return function != nullptr ? function(header) : -1;
}

BOOL LateGetOpenFileNameW(LPOPENFILENAMEW dialog)
{
    const auto function = Late(getOpenFileNameW, "comdlg32.dll", "GetOpenFileNameW");
    return function != nullptr && function(dialog);
}

BOOL LateGetSaveFileNameW(LPOPENFILENAMEW dialog)
{
    const auto function = Late(getSaveFileNameW, "comdlg32.dll", "GetSaveFileNameW");
    return function != nullptr && function(dialog);
}
