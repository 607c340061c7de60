// A small windowed program for the Wine cases: it brings its own window to
// the front, as a game does when it starts, and goes once the program under
// test has gone. Copied under several names, it plays several applications.
#include <windows.h>

namespace {

constexpr const char* kProgramClass = "TaskBarController";
constexpr UINT_PTR kWatchTimer = 1;

LRESULT CALLBACK FrontProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && FindWindowA(kProgramClass, nullptr) == nullptr) DestroyWindow(window);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FrontProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "QuellpadFrontWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                  240, 120, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    SetForegroundWindow(window);
    SetTimer(window, kWatchTimer, 200, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
