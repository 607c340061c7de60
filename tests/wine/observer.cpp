// Watches what the program under test does to the desktop and drives it from
// outside, for the Wine test runner. Every observation goes to QP_LOG.
//
//   observer watch               log keyboard and mouse events (low-level
//                                hooks; a wheel's turn with its delta),
//                                answer message boxes with OK, log
//                                the tray icon appearing and going; runs
//                                until "observer stop"
//   observer stop
//   observer post MSG WPARAM [LPARAM]
//                                post to the program's main window; exit 1
//                                when there is no such window
//   observer where tray|sheet|dialog|ID
//                                print where to click, in screen pixels
//                                (a dialog over the sheet first):
//   observer where menu:I/N      ... or of item I of an open N-item menu,
//   observer where tab:N         of tab N (from 0) of the editor,
//   observer where ID:up|ID:down of the arrows of up-down control ID
//                                "x y" of the first tray icon or of control
//                                ID on the editor's current page (1 and 2
//                                are the editor's OK and Cancel), or
//                                "x y width height" of the editor
//   observer checked ID          print 1 when the editor's check box or radio
//                                button ID (found as where finds it) is
//                                ticked, else 0
//   observer wait-window present|gone SECONDS
//                                wait for the program's main window; exit 1
//                                on timeout
//   observer answer-dialog PATH  type PATH (any characters) into the open or
//                                save dialog and confirm it; exit 1 when no
//                                such dialog comes within 30 s
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>

#include <cstdio>

#include <cstdlib>
#include <cstring>

#include "test_log.h"

namespace {

constexpr const char* kProgramClass = "TaskBarController";
constexpr const char* kObserverClass = "QuellpadObserver";

// The hooks run on the watch thread, one at a time.
POINT lastPoint;

void EscapeInto(char* out, size_t size, const char* text)
{
    size_t o = 0;
    for (const char* c = text; *c != '\0' && o + 3 < size; ++c) {
        if (*c == '\n') {
            out[o++] = '\\';
            out[o++] = 'n';
        } else if (*c != '\r') {
            out[o++] = *c;
        }
    }
    out[o] = '\0';
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        // With QP_LOG_TIMES set, each key line ends in the microseconds of the
        // performance counter when the hook saw it, for latency measurements.
        char at[40] = "";
        if (GetEnvironmentVariableA("QP_LOG_TIMES", nullptr, 0) != 0) {
            LARGE_INTEGER count, frequency;
            QueryPerformanceCounter(&count);
            QueryPerformanceFrequency(&frequency);
            snprintf(at, sizeof at, " at=%lld", count.QuadPart / (frequency.QuadPart / 1000000));
        }
        TestLog("%s %s vk=%lu scan=%lu ext=%d%s", event->flags & LLKHF_INJECTED ? "key" : "real-key",
                event->flags & LLKHF_UP ? "up" : "down", event->vkCode, event->scanCode,
                event->flags & LLKHF_EXTENDED ? 1 : 0, at);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

const char* MouseName(WPARAM message)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return "move";
    case WM_LBUTTONDOWN:
        return "leftdown";
    case WM_LBUTTONUP:
        return "leftup";
    case WM_MBUTTONDOWN:
        return "middledown";
    case WM_MBUTTONUP:
        return "middleup";
    case WM_RBUTTONDOWN:
        return "rightdown";
    case WM_RBUTTONUP:
        return "rightup";
    default:
        return "other";
    }
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        const char* source = event->flags & LLMHF_INJECTED ? "mouse" : "real-mouse";
        if (wParam == WM_MOUSEMOVE) {
            // The hook sees where the pointer lands, not the relative step, so
            // the step is the distance from the previous position.
            TestLog("%s move dx=%ld dy=%ld", source, event->pt.x - lastPoint.x, event->pt.y - lastPoint.y);
        } else if (wParam == WM_MOUSEWHEEL || wParam == WM_MOUSEHWHEEL) {
            // The turn is in the high word, signed: 120 a notch.
            TestLog("%s %s delta=%d", source, wParam == WM_MOUSEWHEEL ? "wheel" : "hwheel",
                    int(short(HIWORD(event->mouseData))));
        } else {
            TestLog("%s %s", source, MouseName(wParam));
        }
        lastPoint = event->pt;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// With no system tray on the X display (as in Xvfb), Wine shows the tray
// icons in a window of its own, "Wine System Tray", with one child window
// per icon. Counted here, this is the shell's own view of the icons.
int ShellTrayIcons()
{
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    int count = 0;
    for (HWND icon = nullptr;
         tray != nullptr && (icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr));)
        ++count;
    return count;
}

BOOL CALLBACK AnswerBox(HWND window, LPARAM lParam)
{
    char className[32];
    if (!IsWindowVisible(window) || GetClassNameA(window, className, sizeof className) == 0 ||
        strcmp(className, "#32770") != 0)
        return TRUE;
    // The editor and the file dialogs are dialogs too; only a message box
    // has its text in the control 0xFFFF.
    if (GetDlgItem(window, 0xFFFF) == nullptr) return TRUE;
    // A dialog that an editor page opens is the case's to drive.
    HWND sheet = FindWindowA("#32770", "Quellpad 2.5");
    if (sheet != nullptr && GetWindow(window, GW_OWNER) == sheet) return TRUE;
    auto* answered = reinterpret_cast<HWND*>(lParam);
    if (*answered == window) return TRUE;  // OK already pressed, still closing
    char caption[256] = "", text[1024] = "", escaped[2048];
    GetWindowTextA(window, caption, sizeof caption);
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);  // the text control of a message box
    EscapeInto(escaped, sizeof escaped, text);
    TestLog("box caption=\"%s\" text=\"%s\"", caption, escaped);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    *answered = window;
    return TRUE;
}

DWORD WINAPI WatchDesktop(void*)
{
    HWND answered = nullptr;
    int trayIcons = 0;
    for (;;) {
        EnumWindows(AnswerBox, reinterpret_cast<LPARAM>(&answered));
        const int icons = ShellTrayIcons();
        if (icons != trayIcons) TestLog("shell tray-icons=%d", icons);
        trayIcons = icons;
        Sleep(10);
    }
}

LRESULT CALLBACK ObserverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int Watch(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ObserverProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kObserverClass;
    RegisterClassA(&windowClass);
    CreateWindowExA(0, kObserverClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

    // A known start, away from the screen's edges, so relative moves are not clipped.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
    GetCursorPos(&lastPoint);
    HHOOK keyboard = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardHook, instance, 0);
    HHOOK mouse = SetWindowsHookExA(WH_MOUSE_LL, MouseHook, instance, 0);
    if (keyboard == nullptr || mouse == nullptr) {
        TestLog("observer hooks-failed");
        return 1;
    }
    CreateThread(nullptr, 0, WatchDesktop, nullptr, 0, nullptr);
    TestLog("observer ready");

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UnhookWindowsHookEx(keyboard);
    UnhookWindowsHookEx(mouse);
    return 0;
}

HWND Sheet()
{
    return FindWindowA("#32770", "Quellpad 2.5");
}

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM lParam)
{
    char className[32];
    HWND& found = *reinterpret_cast<HWND*>(lParam);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != found ||
        GetClassNameA(window, className, sizeof className) == 0 || strcmp(className, "#32770") != 0)
        return TRUE;
    found = window;
    return FALSE;
}

// A dialog that a page of the editor opened over it, or nullptr.
HWND SheetDialog()
{
    HWND sheet = Sheet();
    if (sheet == nullptr) return nullptr;
    HWND found = sheet;
    EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&found));
    return found != sheet ? found : nullptr;
}

// The rectangle of tab N (from 0) of the editor, in screen pixels. The tab
// control answers only into its own process's memory, so the question is
// asked through a buffer placed there.
bool TabRect(HWND sheet, int tab, RECT* rect)
{
    HWND tabs = GetDlgItem(sheet, 0x3020);
    DWORD processId = 0;
    GetWindowThreadProcessId(tabs, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (tabs == nullptr || process == nullptr) return false;
    void* remote = VirtualAllocEx(process, nullptr, sizeof *rect, MEM_COMMIT, PAGE_READWRITE);
    const bool found = remote != nullptr && SendMessageA(tabs, TCM_GETITEMRECT, WPARAM(tab), LPARAM(remote)) &&
                       ReadProcessMemory(process, remote, rect, sizeof *rect, nullptr);
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (found) MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(rect), 2);
    return found;
}

// Control ID of a dialog over the editor, else of its current page, else of
// the sheet itself.
HWND EditorControl(int id)
{
    HWND sheet = Sheet();
    if (sheet == nullptr) return nullptr;
    HWND dialog = SheetDialog();
    HWND page = HWND(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    HWND control = dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
    if (control == nullptr && page != nullptr) control = GetDlgItem(page, id);
    if (control == nullptr) control = GetDlgItem(sheet, id);
    return control;
}

int Where(const char* what)
{
    RECT rect;
    if (strcmp(what, "tray") == 0) {
        HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
        HWND icon = tray != nullptr ? FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr) : nullptr;
        if (icon == nullptr || !GetWindowRect(icon, &rect)) return 1;
    } else if (strncmp(what, "menu:", 5) == 0) {
        // "menu:I/N": item I (from 1) of an open popup menu of N items, all
        // of one height as in the tray's menus.
        int item = 0, items = 0;
        HWND menu = FindWindowA("#32768", nullptr);
        if (sscanf(what + 5, "%d/%d", &item, &items) != 2 || items < 1 || menu == nullptr ||
            !GetWindowRect(menu, &rect))
            return 1;
        const LONG height = (rect.bottom - rect.top) / items;
        rect.top += height * (item - 1);
        rect.bottom = rect.top + height;
    } else if (strncmp(what, "tab:", 4) == 0) {
        if (Sheet() == nullptr || !TabRect(Sheet(), atoi(what + 4), &rect)) return 1;
    } else if (strcmp(what, "sheet") == 0 || strcmp(what, "dialog") == 0) {
        HWND window = what[0] == 's' ? Sheet() : SheetDialog();
        if (window == nullptr || !GetWindowRect(window, &rect)) return 1;
        printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    } else {
        HWND control = EditorControl(atoi(what));
        if (control == nullptr || !GetWindowRect(control, &rect)) return 1;
        // "ID:up" and "ID:down": the arrows of an up-down control.
        const LONG quarter = (rect.bottom - rect.top) / 4;
        if (strstr(what, ":up") != nullptr) rect.bottom -= 2 * quarter;
        if (strstr(what, ":down") != nullptr) rect.top += 2 * quarter;
    }
    printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
}

int WaitWindow(bool present, DWORD seconds)
{
    const DWORD start = GetTickCount();
    while ((FindWindowA(kProgramClass, nullptr) != nullptr) != present) {
        if (GetTickCount() - start > seconds * 1000) return 1;
        Sleep(20);
    }
    return 0;
}

// The file name field of a visible file dialog: a combo box or an edit
// control, as the dialog's style has it.
BOOL CALLBACK FindFileDialog(HWND window, LPARAM lParam)
{
    char className[32];
    if (!IsWindowVisible(window) || GetClassNameA(window, className, sizeof className) == 0 ||
        strcmp(className, "#32770") != 0)
        return TRUE;
    HWND field = GetDlgItem(window, cmb13);
    if (field == nullptr) field = GetDlgItem(window, edt1);
    if (field == nullptr) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

int AnswerDialog(const wchar_t* path)
{
    const DWORD start = GetTickCount();
    HWND dialog = nullptr;
    while (EnumWindows(FindFileDialog, reinterpret_cast<LPARAM>(&dialog)), dialog == nullptr) {
        if (GetTickCount() - start > 30000) return 1;
        Sleep(50);
    }
    HWND field = GetDlgItem(dialog, cmb13);
    if (field == nullptr) field = GetDlgItem(dialog, edt1);
    // Text messages carry their string across processes.
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const int argc = __argc;
    char** argv = __argv;
    if (argc >= 2 && strcmp(argv[1], "watch") == 0) return Watch(instance);
    if (argc >= 2 && strcmp(argv[1], "stop") == 0) {
        HWND observer = FindWindowA(kObserverClass, nullptr);
        return observer != nullptr && PostMessageA(observer, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (argc >= 4 && strcmp(argv[1], "post") == 0) {
        HWND program = FindWindowA(kProgramClass, nullptr);
        const LPARAM lParam = argc >= 5 ? LPARAM(strtol(argv[4], nullptr, 0)) : 0;
        return program != nullptr && PostMessageA(program, UINT(strtoul(argv[2], nullptr, 0)),
                                                  WPARAM(strtoul(argv[3], nullptr, 0)), lParam)
                   ? 0
                   : 1;
    }
    if (argc >= 3 && strcmp(argv[1], "where") == 0) return Where(argv[2]);
    if (argc >= 3 && strcmp(argv[1], "checked") == 0) {
        HWND control = EditorControl(atoi(argv[2]));
        if (control == nullptr) return 1;
        printf("%d\n", SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (argc >= 4 && strcmp(argv[1], "wait-window") == 0)
        return WaitWindow(strcmp(argv[2], "present") == 0, DWORD(strtoul(argv[3], nullptr, 0)));
    if (argc >= 3 && strcmp(argv[1], "answer-dialog") == 0) {
        // The path as typed, in characters the ANSI arguments could not carry.
        int count = 0;
        wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
        return wide != nullptr && count >= 3 ? AnswerDialog(wide[2]) : 2;
    }
    return 2;
}
