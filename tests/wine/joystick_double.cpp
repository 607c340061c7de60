// Stand-in for the joystick part of winmm: replays a scripted joystick from
// the file named by QP_JOYSTICK_SCRIPT and logs every driver call to QP_LOG.
// The rest of winmm is forwarded to Wine's own copy (see winmm.def).
//
// Script, one command a line, '#' starts a comment:
//   devices N                      joyGetNumDevs answer (default 16)
//   caps PORT [buttons B] [axes A] [period P] [x MIN MAX] [y ..] [z ..] [r ..] [u ..] [v ..] [hat]
//                                  plugs a stick into PORT, with a hat when
//                                  named; without it the port answers like
//                                  Wine with no device
//   capture PORT fail              joySetCapture of PORT fails
//   report PORT [buttons MASK] [x N] [y N] [z N] [r N] [u N] [v N] [hat ANGLE]
//                                  the next read of PORT; fields left out keep
//                                  the previous report's values (the hat is
//                                  centred, 65535, at first; ANGLE in
//                                  hundredths of a degree)
//   lost PORT                      the next read of PORT fails, though it
//                                  was posted (a driver that reports a failure)
//   pause PORT MS                  wait MS before the next report of PORT
//   await PORT PATH                post no further report of PORT until the
//                                  file PATH exists (logged once when reached),
//                                  so a test can act between two reports
//   start PORT PATH                start the program PATH from inside the
//                                  program under test, before the next report
//                                  of PORT, and wait until its window is in
//                                  front (logged before it starts)
//   arrive PORT [as caps ...]      a stick is plugged into PORT (which may
//                                  hold one or not): the fields of caps, at
//                                  rest; WM_DEVICECHANGE DBT_DEVNODES_CHANGED
//                                  goes to the program's top-level windows
//   leave PORT                     the stick is unplugged: every read fails
//                                  and, as with Wine's own winmm, a capture
//                                  stays but posts nothing; WM_DEVICECHANGE
//                                  too. Both are logged when they happen.
//
// Runs are deterministic: a report is posted only once the previous one was
// read, and every read of a posted report consumes exactly one scripted
// report. A read with no report posted (the program probing the port)
// answers the current state and consumes nothing. Once a port's script is
// used up, reads keep answering its last state (a resting stick) and are
// still posted at the capture period. Pauses, awaits, arrivals and leavings
// of a port without a capture play on by themselves; its reports wait for a
// capture.
#define _WINMM_
#include <windows.h>
// Both need windows.h first.
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "test_log.h"
#include "test_script.h"

namespace {

constexpr int kPorts = 2;
constexpr int kAxes = 6;
constexpr int kMaxEntries = 512;
constexpr const char* kAxisNames = "xyzruv";

enum class Kind { Report, Lost, Pause, Await, Start, Arrive, Leave };

struct Entry {
    Kind kind;
    DWORD buttons;
    DWORD position[kAxes];
    DWORD pov;
    DWORD pauseMs;
    char path[MAX_PATH];
    bool awaitLogged;
    JOYCAPSA caps;  // an arriving stick's
};

struct Port {
    bool present;
    bool captureFails;
    JOYCAPSA caps;
    Entry entries[kMaxEntries];
    int count;
    int next;
    int readNumber;
    bool doneLogged;
    DWORD buttons;  // the last good state, answered once the script is used up
    DWORD position[kAxes];
    DWORD pov;
    bool captured;
    HWND window;
    UINT period;
    bool waitingForRead;  // a posted report has not been read yet
    DWORD dueAt;
    DWORD postedButtons;
};

CRITICAL_SECTION lock;
bool loaded;
UINT deviceCount = 16;
Port ports[kPorts];
HANDLE poster;

struct Lock {
    Lock() { EnterCriticalSection(&lock); }
    ~Lock() { LeaveCriticalSection(&lock); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
};

// Wine takes a tray icon away by itself as soon as its owner window is
// destroyed, so the shell cannot show when, or whether, the program deletes
// its icon at shutdown. The program's own calls are logged instead, in line
// with the joystick calls: its import of Shell_NotifyIconA is pointed at a
// wrapper.
using NotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
NotifyIconFunction realNotifyIcon;
HWND captureWindow;

BOOL WINAPI LoggedNotifyIcon(DWORD action, PNOTIFYICONDATAA data)
{
    const char* names[] = {"add", "modify", "delete"};
    const char* owner = data != nullptr && data->hWnd == captureWindow ? "capture" : "other";
    if (data == nullptr || action > NIM_DELETE)
        TestLog("tray odd-call action=%lu", action);
    else if (action == NIM_DELETE)
        TestLog("tray delete size=%lu window=%s id=%u", data->cbSize, owner, data->uID);
    else
        TestLog("tray %s size=%lu window=%s id=%u flags=%u message=%u icon=%d tip=\"%s\"", names[action],
                data->cbSize, owner, data->uID, data->uFlags, data->uCallbackMessage, data->hIcon != nullptr,
                data->uFlags & NIF_TIP ? data->szTip : "");
    return realNotifyIcon(action, data);
}

void RouteTrayCalls()
{
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name != 0; ++dll) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + dll->Name), "shell32.dll") != 0 ||
            dll->OriginalFirstThunk == 0)
            continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), "Shell_NotifyIconA") != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
            realNotifyIcon = reinterpret_cast<NotifyIconFunction>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<DWORD_PTR>(LoggedNotifyIcon);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
        }
    }
}

// Axis ranges live in scattered JOYCAPSA fields; these give them an index.
UINT* RangeMin(JOYCAPSA& c, int axis)
{
    UINT* fields[kAxes] = {&c.wXmin, &c.wYmin, &c.wZmin, &c.wRmin, &c.wUmin, &c.wVmin};
    return fields[axis];
}
UINT* RangeMax(JOYCAPSA& c, int axis)
{
    UINT* fields[kAxes] = {&c.wXmax, &c.wYmax, &c.wZmax, &c.wRmax, &c.wUmax, &c.wVmax};
    return fields[axis];
}

int AxisIndex(const char* name)
{
    if (name[0] == '\0' || name[1] != '\0') return -1;
    const char* found = strchr(kAxisNames, name[0]);
    return found ? int(found - kAxisNames) : -1;
}

bool Number(const char* text, DWORD* value)
{
    if (text == nullptr) return false;
    char* end = nullptr;
    *value = DWORD(strtoul(text, &end, 0));
    return end != text && *end == '\0';
}

bool ParsePort(char** save, int* port)
{
    DWORD value = 0;
    if (!Number(strtok_r(nullptr, " \t\r", save), &value) || value >= kPorts) return false;
    *port = int(value);
    return true;
}

void Describe(JOYCAPSA& c)
{
    c = JOYCAPSA{};
    c.wMid = 1;
    c.wPid = 1;
    strcpy(c.szPname, "Scripted joystick");
    c.wNumButtons = 4;
    c.wMaxButtons = 32;
    c.wNumAxes = 2;
    c.wMaxAxes = 6;
    c.wPeriodMin = 10;
    c.wPeriodMax = 1000;
    for (int axis = 0; axis < 2; ++axis) *RangeMax(c, axis) = 65535;
}

void SetCapsFlags(JOYCAPSA& c)
{
    const UINT flags[] = {JOYCAPS_HASZ, JOYCAPS_HASR, JOYCAPS_HASU, JOYCAPS_HASV};
    c.wCaps = 0;
    for (UINT axis = 2; axis < c.wNumAxes && axis < kAxes; ++axis) c.wCaps |= flags[axis - 2];
}

// The fields of a caps or arrive line; the stick rests in the middle of
// each range.
bool ParseCaps(char** save, JOYCAPSA& caps, DWORD (&rest)[kAxes])
{
    Describe(caps);
    bool hat = false;
    for (const char* key; (key = strtok_r(nullptr, " \t\r", save)) != nullptr;) {
        if (strcmp(key, "hat") == 0) {
            hat = true;
            continue;
        }
        DWORD a = 0, b = 0;
        if (!Number(strtok_r(nullptr, " \t\r", save), &a)) return false;
        const int axis = AxisIndex(key);
        if (axis >= 0) {
            if (!Number(strtok_r(nullptr, " \t\r", save), &b)) return false;
            *RangeMin(caps, axis) = a;
            *RangeMax(caps, axis) = b;
        } else if (strcmp(key, "buttons") == 0) {
            caps.wNumButtons = a;
        } else if (strcmp(key, "axes") == 0) {
            caps.wNumAxes = a;
        } else if (strcmp(key, "period") == 0) {
            caps.wPeriodMin = a;
        } else {
            return false;
        }
    }
    SetCapsFlags(caps);
    if (hat) caps.wCaps |= JOYCAPS_HASPOV;
    for (int axis = 0; axis < kAxes; ++axis) rest[axis] = (*RangeMin(caps, axis) + *RangeMax(caps, axis)) / 2;
    return true;
}

bool ParseLine(char* line)
{
    char* save = nullptr;
    const char* command = strtok_r(line, " \t\r", &save);
    if (command == nullptr || command[0] == '#') return true;
    if (strcmp(command, "devices") == 0) {
        DWORD value = 0;
        if (!Number(strtok_r(nullptr, " \t\r", &save), &value)) return false;
        deviceCount = value;
        return true;
    }
    int port = 0;
    if (!ParsePort(&save, &port)) return false;
    Port& p = ports[port];

    if (strcmp(command, "capture") == 0) {
        const char* what = strtok_r(nullptr, " \t\r", &save);
        if (what == nullptr || strcmp(what, "fail") != 0) return false;
        p.captureFails = true;
        return true;
    }
    if (strcmp(command, "caps") == 0) {
        p.present = true;
        p.pov = JOY_POVCENTERED;
        return ParseCaps(&save, p.caps, p.position);
    }
    if (p.count == kMaxEntries) return false;
    Entry& e = p.entries[p.count];
    if (strcmp(command, "arrive") == 0) {
        e.kind = Kind::Arrive;
        e.buttons = 0;
        e.pov = JOY_POVCENTERED;
        if (!ParseCaps(&save, e.caps, e.position)) return false;
    } else if (strcmp(command, "leave") == 0) {
        e.kind = Kind::Leave;
    } else if (strcmp(command, "lost") == 0) {
        e.kind = Kind::Lost;
    } else if (strcmp(command, "pause") == 0) {
        e.kind = Kind::Pause;
        if (!Number(strtok_r(nullptr, " \t\r", &save), &e.pauseMs)) return false;
    } else if (strcmp(command, "await") == 0) {
        e.kind = Kind::Await;
        const char* path = strtok_r(nullptr, " \t\r", &save);
        if (path == nullptr || strlen(path) >= sizeof e.path) return false;
        strcpy(e.path, path);
    } else if (strcmp(command, "start") == 0) {
        e.kind = Kind::Start;
        const char* path = strtok_r(nullptr, " \t\r", &save);
        if (path == nullptr || strlen(path) >= sizeof e.path) return false;
        strcpy(e.path, path);
    } else if (strcmp(command, "report") == 0) {
        // Starts from the latest report of the port, or the stick that
        // arrived since, so a line names only what changes.
        const Entry* previous = nullptr;
        for (int i = p.count - 1; i >= 0 && previous == nullptr; --i)
            if (p.entries[i].kind == Kind::Report || p.entries[i].kind == Kind::Arrive) previous = &p.entries[i];
        e.kind = Kind::Report;
        e.buttons = previous ? previous->buttons : 0;
        e.pov = previous ? previous->pov : p.pov;
        for (int axis = 0; axis < kAxes; ++axis)
            e.position[axis] = previous ? previous->position[axis] : p.position[axis];
        for (const char* key; (key = strtok_r(nullptr, " \t\r", &save)) != nullptr;) {
            DWORD value = 0;
            if (!Number(strtok_r(nullptr, " \t\r", &save), &value)) return false;
            const int axis = AxisIndex(key);
            if (axis >= 0) {
                e.position[axis] = value;
            } else if (strcmp(key, "buttons") == 0) {
                e.buttons = value;
            } else if (strcmp(key, "hat") == 0) {
                e.pov = value;
            } else {
                return false;
            }
        }
    } else {
        return false;
    }
    ++p.count;
    return true;
}

void LoadScript()
{
    if (loaded) return;
    loaded = true;
    if (realNotifyIcon == nullptr) TestLog("joystick tray-calls-unseen");
    static char text[65536];
    if (!ReadScript("QP_JOYSTICK_SCRIPT", "joystick", text, sizeof text, [](char* line, int) { return ParseLine(line); })) {
        TestLog("joystick no-script");
    }
}

// What the system does when a device comes or goes: DBT_DEVNODES_CHANGED to
// every top-level window, here those of the program.
BOOL CALLBACK NotifyDeviceChange(HWND window, LPARAM)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) PostMessageA(window, WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0);
    return TRUE;
}

void Arrive(int port, const Entry& e)
{
    Port& p = ports[port];
    p.present = true;
    p.caps = e.caps;
    p.buttons = e.buttons;
    p.pov = e.pov;
    memcpy(p.position, e.position, sizeof p.position);
    TestLog("joystick arrive port=%d", port);
    EnumWindows(NotifyDeviceChange, 0);
}

void Leave(int port)
{
    ports[port].present = false;
    TestLog("joystick leave port=%d", port);
    EnumWindows(NotifyDeviceChange, 0);
}

// Started from inside the program under test, a program may take the front;
// the line comes first, so whatever the program does about it follows.
void StartInFront(const char* path)
{
    const char* name = strrchr(path, '\\') != nullptr ? strrchr(path, '\\') + 1 : path;
    TestLog("joystick start name=%s", name);
    char commandLine[MAX_PATH];
    strcpy(commandLine, path);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        TestLog("joystick start-failed name=%s error=%lu", name, GetLastError());
        return;
    }
    bool inFront = false;
    for (int wait = 0; wait < 1000 && !inFront; ++wait) {
        DWORD owner = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &owner);
        inFront = owner == process.dwProcessId;
        if (!inFront) Sleep(10);
    }
    if (!inFront) TestLog("joystick not-in-front name=%s", name);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The driver's timer: posts the next report of each captured port once the
// previous one was read; arrivals and leavings happen in their turn.
DWORD WINAPI PostReports(void*)
{
    for (;;) {
        Sleep(1);
        Lock held;
        const DWORD now = GetTickCount();
        for (int port = 0; port < kPorts; ++port) {
            Port& p = ports[port];
            if (p.waitingForRead || LONG(now - p.dueAt) < 0) continue;
            const Kind* next = p.next < p.count ? &p.entries[p.next].kind : nullptr;
            if (next != nullptr && *next == Kind::Arrive) {
                Arrive(port, p.entries[p.next++]);
                continue;
            }
            if (next != nullptr && *next == Kind::Leave) {
                ++p.next;
                Leave(port);
                continue;
            }
            if (p.next < p.count && p.entries[p.next].kind == Kind::Pause) {
                p.dueAt = now + p.entries[p.next++].pauseMs;
                continue;
            }
            if (p.next < p.count && p.entries[p.next].kind == Kind::Start) {
                StartInFront(p.entries[p.next++].path);
                continue;
            }
            if (p.next < p.count && p.entries[p.next].kind == Kind::Await) {
                Entry& e = p.entries[p.next];
                if (GetFileAttributesA(e.path) != INVALID_FILE_ATTRIBUTES) {
                    ++p.next;
                } else if (!e.awaitLogged) {
                    e.awaitLogged = true;
                    TestLog("joystick await port=%d", port);
                }
                continue;
            }
            // Like Wine's capture timer, which skips a stick whose read fails.
            if (!p.captured || !p.present) continue;
            const bool scripted = p.next < p.count && p.entries[p.next].kind == Kind::Report;
            const DWORD buttons = scripted ? p.entries[p.next].buttons : p.buttons;
            const DWORD* position = scripted ? p.entries[p.next].position : p.position;
            // Like a real driver: button messages when buttons change, moves otherwise.
            UINT message = port == 0 ? MM_JOY1MOVE : MM_JOY2MOVE;
            if (buttons & ~p.postedButtons)
                message = port == 0 ? MM_JOY1BUTTONDOWN : MM_JOY2BUTTONDOWN;
            else if (p.postedButtons & ~buttons)
                message = port == 0 ? MM_JOY1BUTTONUP : MM_JOY2BUTTONUP;
            const WPARAM changed = message == MM_JOY1MOVE || message == MM_JOY2MOVE
                                       ? (buttons & 0xF)
                                       : (((buttons ^ p.postedButtons) & 0xF) << 8) | (buttons & 0xF);
            if (PostMessageA(p.window, message, changed, MAKELPARAM(position[0], position[1]))) {
                p.postedButtons = buttons;
                p.waitingForRead = true;
                p.dueAt = now + p.period;
            }
        }
    }
}

}  // namespace

// With QP_COUNT_MESSAGES set, the messages the program's main thread takes
// from its queue are counted from its first joyGetNumDevs on, and the count
// is logged as the program ends: "joystick messages count=N ms=T", T the
// milliseconds counted over. A measure of how often the program wakes.
HHOOK messageHook;
volatile LONG messagesTaken;
DWORD countingSince;

LRESULT CALLBACK CountMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == PM_REMOVE) InterlockedIncrement(&messagesTaken);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void StartCountingMessages()
{
    if (messageHook != nullptr || GetEnvironmentVariableA("QP_COUNT_MESSAGES", nullptr, 0) == 0) return;
    countingSince = GetTickCount();
    messageHook = SetWindowsHookExA(WH_GETMESSAGE, CountMessage, nullptr, GetCurrentThreadId());
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_DETACH && messageHook != nullptr) {
        TestLog("joystick messages count=%ld ms=%lu", messagesTaken, GetTickCount() - countingSince);
    }
    if (reason == DLL_PROCESS_ATTACH) {
        InitializeCriticalSection(&lock);
        // The program's imports are bound before any DllMain runs.
        RouteTrayCalls();
    }
    return TRUE;
}

extern "C" {

UINT WINAPI joyGetNumDevs()
{
    Lock held;
    LoadScript();
    StartCountingMessages();
    TestLog("joystick devices count=%u", deviceCount);
    return deviceCount;
}

MMRESULT WINAPI joyGetDevCapsA(UINT_PTR id, LPJOYCAPSA caps, UINT size)
{
    Lock held;
    LoadScript();
    if (id >= kPorts || caps == nullptr || !ports[id].present) return JOYERR_PARMS;
    memcpy(caps, &ports[id].caps, size < sizeof(JOYCAPSA) ? size : sizeof(JOYCAPSA));
    return JOYERR_NOERROR;
}

MMRESULT WINAPI joySetCapture(HWND window, UINT id, UINT period, BOOL changed)
{
    Lock held;
    LoadScript();
    MMRESULT result = JOYERR_NOERROR;
    if (id >= kPorts || window == nullptr) {
        result = JOYERR_PARMS;
    } else if (!ports[id].present) {
        result = JOYERR_UNPLUGGED;
    } else if (ports[id].captureFails || ports[id].captured) {
        result = JOYERR_NOCANDO;
    } else {
        Port& p = ports[id];
        p.captured = true;
        p.window = window;
        p.period = period != 0 ? period : 1;
        p.waitingForRead = false;
        p.dueAt = GetTickCount();
        if (captureWindow == nullptr) captureWindow = window;
        if (poster == nullptr) poster = CreateThread(nullptr, 0, PostReports, nullptr, 0, nullptr);
    }
    TestLog("joystick capture port=%u period=%u changed=%d result=%u", id, period, changed, result);
    return result;
}

MMRESULT WINAPI joyReleaseCapture(UINT id)
{
    Lock held;
    MMRESULT result = JOYERR_NOERROR;
    if (id >= kPorts) {
        result = JOYERR_PARMS;
    } else if (!ports[id].captured) {
        result = JOYERR_NOCANDO;
    } else {
        ports[id].captured = false;
    }
    TestLog("joystick release port=%u result=%u", id, result);
    return result;
}

MMRESULT WINAPI joyGetPosEx(UINT id, LPJOYINFOEX info)
{
    Lock held;
    LoadScript();
    if (id >= kPorts || info == nullptr) return JOYERR_PARMS;
    if (info->dwSize != sizeof(JOYINFOEX) || info->dwFlags != JOY_RETURNALL)
        TestLog("joystick odd-request port=%u size=%lu flags=%lu", id, info->dwSize, info->dwFlags);
    Port& p = ports[id];
    if (!p.present) return JOYERR_UNPLUGGED;
    const bool posted = p.waitingForRead;
    p.waitingForRead = false;

    // A pause or await ahead is passed by the poster; a read before then, or
    // one of no posted report, answers the last state and consumes nothing.
    const Kind* next = p.next < p.count ? &p.entries[p.next].kind : nullptr;
    if (posted && next != nullptr && (*next == Kind::Report || *next == Kind::Lost)) {
        const Entry& e = p.entries[p.next++];
        const int number = ++p.readNumber;
        if (e.kind == Kind::Lost) {
            TestLog("joystick read port=%u report=%d lost", id, number);
            return JOYERR_UNPLUGGED;
        }
        p.buttons = e.buttons;
        p.pov = e.pov;
        memcpy(p.position, e.position, sizeof p.position);
        TestLog("joystick read port=%u report=%d", id, number);
    } else if (posted && p.next == p.count && !p.doneLogged) {
        // Every scripted report has been handled to its end by now: the
        // program reads one report at a time.
        p.doneLogged = true;
        TestLog("joystick script-done port=%u", id);
    }
    info->dwFlags = JOY_RETURNALL;
    info->dwXpos = p.position[0];
    info->dwYpos = p.position[1];
    info->dwZpos = p.position[2];
    info->dwRpos = p.position[3];
    info->dwUpos = p.position[4];
    info->dwVpos = p.position[5];
    info->dwButtons = p.buttons;
    DWORD count = 0;
    for (DWORD bits = p.buttons; bits != 0; bits &= bits - 1) ++count;
    info->dwButtonNumber = count;
    info->dwPOV = p.pov;
    return JOYERR_NOERROR;
}

}  // extern "C"
