// A recording stand-in for Windows: every injected event, sleep and message
// box lands in one ordered log, look-ups answer from tables a test can set,
// and files live in memory with switchable faults.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "app/running_config.h"
#include "platform/file_dialogs.h"
#include "platform/files.h"
#include "platform/foreground.h"
#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/pad_timer.h"
#include "platform/window.h"
#include "platform/xinput.h"

enum class EventKind : uint8_t { Key, Mouse, Wheel, Sleep, Message, Shell };

struct Event {
    EventKind kind;
    uint32_t a;  // Key: vk.    Mouse, Wheel: flags. Sleep: milliseconds.
    uint32_t b;  // Key: scan.
    uint32_t c;  // Key: flags.
    int32_t dx;  // Mouse: dx.  Wheel: delta.
    int32_t dy;
    char text[192];  // Message: "caption|text". Shell: what the window side was asked.
    bool operator==(const Event& other) const;
};
void PrintTo(const Event& event, std::ostream* out);

Event KeyDown(uint32_t vk, uint32_t scan);
Event KeyUp(uint32_t vk, uint32_t scan, uint32_t flags = 2);
Event MouseFlag(uint32_t flags);
Event MouseMove(int32_t dx, int32_t dy);
Event Wheel(uint32_t flags, int32_t delta);
Event Slept(uint32_t milliseconds);
Event Message(const char* caption, const char* text);
// A request to the window side: "post 1026", "send 1024", "destroy", "quit",
// "menu Load ...=1000|Save as ...=1001|Config ...=102" (a ticked item ends in
// " ticked"), "open-dialog", "save-dialog", "sheet", "tray-add", "tip TEXT",
// "balloon TEXT"; to the driver: "capture 1 at 20", "release 1", and with
// logDriver "read 1", "caps 1"; to the Run key: "run-key write TEXT",
// "run-key delete".
Event Shell(const char* what);

// An expected log, built from single events and shorter sequences in order.
using EventList = std::vector<Event>;
inline void AppendEvents(EventList& out, const Event& event) { out.push_back(event); }
inline void AppendEvents(EventList& out, const EventList& more) { out.insert(out.end(), more.begin(), more.end()); }
template <class... Parts>
EventList Seq(const Parts&... parts)
{
    EventList out;
    (AppendEvents(out, parts), ...);
    return out;
}

// Mouse flags as the engine sends them.
constexpr uint32_t LEFTDOWN = 2, LEFTUP = 4, RIGHTDOWN = 8, RIGHTUP = 16, MIDDLEDOWN = 32,
                   MIDDLEUP = 64, WHEEL = 0x800, HWHEEL = 0x1000;

struct FakeFile {
    bool exists;
    bool readOnly;  // a save must not replace it
    char name[300];
    uint32_t size;
    uint8_t data[131072];  // room for every layer and behaviour
};

struct FakePlatform {
    Event events[8192];
    uint32_t eventCount;

    // Look-up tables, indexed by code; only the low 8 bits of a code index them.
    uint32_t mapType0[256];
    uint32_t mapType2[256];
    uint32_t oemScan[256];
    uint32_t doubleClickTime;

    bool noJoystickDriver;  // joyGetNumDevs answers 0
    JoyCaps caps[2];
    JoyInfoEx state[2];
    uint32_t posResult[2];     // what joyGetPosEx answers per port
    uint32_t posReads[2];      // how many reads each port saw
    JoyInfoEx lastRequest[2];  // the structure as the engine handed it over
    bool logDriver;            // reads and capability reads go into the log too

    // The driver's captures: a stick that answers is captured unless
    // captureResult says otherwise; an unplugged one (posResult) is not.
    bool captured[2];
    uint32_t capturePeriod[2];
    uint32_t captureResult[2];
    bool captureSilent[2];  // the capture delivers nothing though the stick answers, until released

    // XInput: whether a library was found, and each controller's state.
    bool xinputLibrary;
    bool padConnected[4];
    XInputPad pads[4];

    // The current user's Run value "Quellpad".
    bool runValueExists;
    char runValue[600];
    uint32_t runKeyReads;

    char modulePath[600];

    FakeFile files[24];  // room for a target and every temporary name planted beside it
    bool failOpen;
    bool failCreate;
    bool failReplace;
    int failReadCall;   // 0-based read call that misbehaves, -1 for none
    int32_t failReadResult;
    int failWriteCall;  // 0-based write call that misbehaves, -1 for none
    bool failEveryWrite;  // every write answers failWriteResult
    int32_t failWriteResult;
    int readCalls;
    int writeCalls;
    int openHandles;
    char lastCreated[300];  // the name of the last create attempt

    // The window side: what the file dialogs and the editor answer.
    bool dialogConfirms;
    char dialogPath[300];
    int sheetResult;
    // Sent messages reach the main window at once, as SendMessage does.
    bool dispatchSends;
    // Runs inside the editor or a menu, to act while it is open.
    void (*whileModal)();
    // Runs inside a message box, whose modal loop goes on dispatching reports.
    void (*whileMessageBox)();

    // The clock and the main window's timers: a timer is due at its start
    // plus its period; nothing fires unless a test delivers it.
    uint32_t tickCount;
    struct Timer {
        bool running;
        uint32_t period;
        uint32_t due;
    } timers[4];  // by id: see FakeTimer
    // The Xbox controllers' poll: it ticks only when a test calls FakePadTick.
    struct PadTimer {
        bool running;
        uint32_t period;
        PadTimerTick tick;
        void* context;
        uint32_t stops;  // how often a running poll was stopped
        bool fails;      // the system gives no such timer
    } padTimer;
    // WM_PADCHANGED, posted by the poll: how many in all, and how many wait
    // in the queue (kept out of the log, which a poll on its own thread
    // could not keep in order).
    uint32_t padChangedPosts;
    uint32_t padChangedQueued;
    // The window in front, and whether its notices are watched.
    ForegroundWindow foreground;
    uint32_t foregroundMessage;  // 0 while not watched
};
extern FakePlatform fake;

// Back to a clean machine: empty log, default tables, no files, no faults.
void ResetFakePlatform();
// And the program's own state back to its start values: what runs, the
// engine's state and the editor's port.
void ResetProgramState();

// One tick of the Xbox controllers' poll, as its thread would run it.
void FakePadTick();

// The fake's slot of a timer id, or nullptr for an id it does not know.
FakePlatform::Timer* FakeTimer(uint32_t id);

std::vector<Event> Events();
void ClearEvents();

FakeFile* FindFakeFile(const char* name);
void PutFakeFile(const char* name, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> FakeFileBytes(const char* name);
