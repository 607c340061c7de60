// XInput, loaded at run time: the program imports only what XP has, and a
// system without any XInput library still runs its driver ports.
#include <windows.h>

#include <cstring>

#include "platform/xinput.h"

namespace {

// XINPUT_STATE: a packet number, then the gamepad.
struct XInputState {
    DWORD dwPacketNumber;
    XInputPad Gamepad;
};
static_assert(sizeof(XInputState) == 16, "same layout as XINPUT_STATE");

using GetStateFunction = DWORD(WINAPI*)(DWORD, XInputState*);

constexpr uint32_t kUserCount = 4;     // XUSER_MAX_COUNT

GetStateFunction getState;
bool searched;

// The newest library first; ordinal 100, the state with the guide button,
// where the library has it.
GetStateFunction FindGetState()
{
    static const char* const kLibraries[] = {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"};
    for (const char* name : kLibraries) {
        HMODULE library = LoadLibraryA(name);
        if (library == nullptr) continue;
        FARPROC function = GetProcAddress(library, MAKEINTRESOURCEA(100));
        if (function == nullptr) function = GetProcAddress(library, "XInputGetState");
        if (function != nullptr) return reinterpret_cast<GetStateFunction>(reinterpret_cast<void (*)()>(function));
        FreeLibrary(library);
    }
    return nullptr;
}

}  // namespace

XInputRead PlatformXInputGetState(uint32_t userIndex, XInputPad* pad)
{
    if (!searched) {
        getState = FindGetState();
        searched = true;
    }
    if (getState == nullptr) return XINPUT_NO_LIBRARY;
    if (userIndex >= kUserCount) return XINPUT_NOT_CONNECTED;
    XInputState state = {};
    const DWORD result = getState(userIndex, &state);
    if (result != ERROR_SUCCESS) return XINPUT_NOT_CONNECTED;
    std::memcpy(pad, &state.Gamepad, sizeof *pad);
    return XINPUT_READ_OK;
}
