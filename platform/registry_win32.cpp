// The current user's Run key on real Windows: UTF-8 in the program, UTF-16
// strings in the registry, so a program in a folder of any name starts.
#include <windows.h>

#include "platform/registry.h"

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr int kValueSize = 1024;  // characters: a command line of a path and its arguments

bool Widen(const char* text, wchar_t (&wide)[kValueSize])
{
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide, kValueSize) != 0;
}

HKEY OpenRunKey(REGSAM access)
{
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

bool PlatformReadRunValue(const char* name, char* value, uint32_t size)
{
    wchar_t wideName[kValueSize];
    if (size == 0 || !Widen(name, wideName)) return false;
    HKEY key = OpenRunKey(KEY_QUERY_VALUE);
    if (key == nullptr) return false;
    wchar_t wide[kValueSize + 1] = {};
    DWORD type = 0;
    DWORD bytes = sizeof wide - sizeof(wchar_t);  // room kept for a terminator the value may lack
    const LONG status = RegQueryValueExW(key, wideName, nullptr, &type, reinterpret_cast<BYTE*>(wide), &bytes);
    const bool read = status == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ);
    RegCloseKey(key);
    return read && WideCharToMultiByte(CP_UTF8, 0, wide, -1, value, int(size), nullptr, nullptr) != 0;
}

bool PlatformWriteRunValue(const char* name, const char* value)
{
    wchar_t wideName[kValueSize], wide[kValueSize];
    if (!Widen(name, wideName) || !Widen(value, wide)) return false;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const DWORD bytes = DWORD((lstrlenW(wide) + 1) * sizeof(wchar_t));
    const bool written =
        RegSetValueExW(key, wideName, 0, REG_SZ, reinterpret_cast<const BYTE*>(wide), bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

bool PlatformDeleteRunValue(const char* name)
{
    wchar_t wideName[kValueSize];
    if (!Widen(name, wideName)) return false;
    HKEY key = OpenRunKey(KEY_SET_VALUE);
    if (key == nullptr) return false;
    const bool deleted = RegDeleteValueW(key, wideName) == ERROR_SUCCESS;
    RegCloseKey(key);
    return deleted;
}
