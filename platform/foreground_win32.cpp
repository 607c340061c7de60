// The window in front on real Windows: the system's notices of a new one,
// and who it belongs to. Whatever came after XP is looked up at run time,
// so the program still starts there.
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "platform/files_win32.h"
#include "platform/foreground.h"
#include "platform/platform_win32.h"

namespace {

HWINEVENTHOOK foregroundHook;
HWINEVENTHOOK restoreHook;
UINT noticeMessage;

// Out of context: the system calls it on our own thread, from our message
// loop, so posting to our window is all it does.
void CALLBACK OnForegroundNotice(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD)
{
    PostMessageA(platformMainWindow, noticeMessage, 0, 0);
}

// Vista and later: these take a process of any elevation.
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
constexpr int kTokenElevation = 20;                 // TokenElevation

template <class Function>
Function Look(const char* dll, const char* name)
{
    HMODULE module = GetModuleHandleA(dll);
    if (module == nullptr) module = LoadLibraryA(dll);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using OpenToken = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
using TokenInformation = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD, PDWORD);

struct Calls {
    bool looked;
    QueryImageName queryImageName;
    OpenToken openToken;
    TokenInformation tokenInformation;
};
Calls calls;

const Calls& NewerCalls()
{
    if (!calls.looked) {
        calls.looked = true;
        calls.queryImageName = Look<QueryImageName>("kernel32.dll", "QueryFullProcessImageNameW");
        // Not imported: the program's imports stay with the DLLs every system has.
        calls.openToken = Look<OpenToken>("advapi32.dll", "OpenProcessToken");
        calls.tokenInformation = Look<TokenInformation>("advapi32.dll", "GetTokenInformation");
    }
    return calls;
}

// 1 elevated, 0 not, -1 Windows does not say (XP, or no way to ask).
int Elevation(HANDLE process)
{
    const Calls& c = NewerCalls();
    if (c.openToken == nullptr || c.tokenInformation == nullptr) return -1;
    HANDLE token = nullptr;
    if (!c.openToken(process, TOKEN_QUERY, &token)) {
        // An elevated process keeps its token from a program that is not.
        return GetLastError() == ERROR_ACCESS_DENIED ? 1 : -1;
    }
    DWORD elevated = 0, size = 0;
    const BOOL known = c.tokenInformation(token, kTokenElevation, &elevated, sizeof elevated, &size);
    CloseHandle(token);
    return known ? (elevated != 0 ? 1 : 0) : -1;
}

// Our own elevation, asked once: it cannot change while we run.
bool elevationAsked;
int ourElevation;

bool WeAreElevated()
{
    if (!elevationAsked) {
        elevationAsked = true;
        ourElevation = Elevation(GetCurrentProcess());
    }
    return ourElevation == 1;
}

// The executable's path, or at least its file name. The limited query right
// is granted for elevated processes too; XP has neither it nor the call, and
// the Toolhelp snapshot names every process without opening any.
bool ExecutableName(DWORD processId, wchar_t (&name)[MAX_PATH], int& elevation)
{
    elevation = -1;
    const Calls& c = NewerCalls();
    if (c.queryImageName != nullptr) {
        HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, processId);
        if (process != nullptr) {
            DWORD size = MAX_PATH;
            const BOOL named = c.queryImageName(process, 0, name, &size);
            elevation = Elevation(process);
            CloseHandle(process);
            if (named) return true;
        }
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID != processId) continue;
        std::memcpy(name, entry.szExeFile, sizeof name);
        name[MAX_PATH - 1] = L'\0';
        found = true;
    }
    CloseHandle(snapshot);
    return found;
}

// The file name without folder and extension, in the logic's UTF-8.
bool Stem(wchar_t (&path)[MAX_PATH], char* stem, uint32_t size)
{
    wchar_t* start = path;
    for (wchar_t* c = path; *c != L'\0'; ++c) {
        if (*c == L'\\' || *c == L'/' || *c == L':') start = c + 1;
    }
    wchar_t* dot = nullptr;
    for (wchar_t* c = start; *c != L'\0'; ++c) {
        if (*c == L'.') dot = c;
    }
    if (dot != nullptr) *dot = L'\0';
    return *start != L'\0' && NarrowPath(start, stem, size);
}

// By class, not by program: another shell, or a game called explorer.exe,
// is told apart correctly.
bool IsShellWindow(HWND window)
{
    if (window == GetShellWindow() || window == GetDesktopWindow()) return true;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    static const char* const kShellClasses[] = {"Progman", "WorkerW", "Shell_TrayWnd", "Shell_SecondaryTrayWnd"};
    for (const char* shell : kShellClasses) {
        if (lstrcmpA(name, shell) == 0) return true;
    }
    return false;
}

}  // namespace

void PlatformGetForeground(ForegroundWindow& front)
{
    front = ForegroundWindow{};
    HWND window = GetForegroundWindow();
    if (window == nullptr) return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId()) {
        front.kind = ForegroundWindow::OURS;
        return;
    }
    if (IsShellWindow(window)) {
        front.kind = ForegroundWindow::SHELL;
        return;
    }
    wchar_t path[MAX_PATH] = L"";
    int elevation = -1;
    if (!ExecutableName(processId, path, elevation) || !Stem(path, front.stem, sizeof front.stem)) return;
    front.kind = ForegroundWindow::APPLICATION;
    front.elevatedOverUs = elevation == 1 && !WeAreElevated();
}

void PlatformWatchForeground(uint32_t message)
{
    noticeMessage = message;
    const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnForegroundNotice,
                                     0, 0, flags);
    // A window restored from the taskbar does not always announce itself
    // as the new foreground.
    restoreHook = SetWinEventHook(EVENT_SYSTEM_MINIMIZEEND, EVENT_SYSTEM_MINIMIZEEND, nullptr, OnForegroundNotice, 0,
                                  0, flags);
}

void PlatformStopWatchingForeground()
{
    if (foregroundHook != nullptr) UnhookWinEvent(foregroundHook);
    if (restoreHook != nullptr) UnhookWinEvent(restoreHook);
    foregroundHook = restoreHook = nullptr;
}
