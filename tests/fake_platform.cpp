#include "tests/fake_platform.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/editor/editor_changes.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/profiles.h"
#include "app/shell.h"
#include "app/stick_ports.h"
#include "engine/engine_state.h"
#include "platform/clock.h"
#include "platform/joystick_capture.h"
#include "platform/registry.h"
#include "platform/timers.h"

FakePlatform fake;

namespace {

void Record(const Event& event)
{
    if (fake.eventCount < sizeof fake.events / sizeof fake.events[0]) fake.events[fake.eventCount] = event;
    ++fake.eventCount;
}

// Handles are 1 + the file's slot; a create writes a fresh file.
struct OpenFile {
    FakeFile* file;
    uint32_t position;
};
OpenFile openFiles[8];

FakeFile* FileOf(PlatformFile handle)
{
    if (handle < 1 || handle > 8) return nullptr;
    return openFiles[handle - 1].file;
}

}  // namespace

bool Event::operator==(const Event& other) const
{
    return kind == other.kind && a == other.a && b == other.b && c == other.c && dx == other.dx &&
           dy == other.dy && std::strcmp(text, other.text) == 0;
}

void PrintTo(const Event& e, std::ostream* out)
{
    switch (e.kind) {
    case EventKind::Key:
        *out << (e.c & 2 ? "KeyUp(" : "KeyDown(") << e.a << ", scan " << e.b << ", flags " << e.c << ")";
        break;
    case EventKind::Mouse:
        *out << "Mouse(flags " << e.a << ", " << e.dx << ", " << e.dy << ")";
        break;
    case EventKind::Wheel: *out << "Wheel(flags " << e.a << ", " << e.dx << ")"; break;
    case EventKind::Sleep: *out << "Sleep(" << e.a << ")"; break;
    case EventKind::Message: *out << "Message(" << e.text << ")"; break;
    case EventKind::Shell: *out << "Shell(" << e.text << ")"; break;
    }
}

Event KeyDown(uint32_t vk, uint32_t scan) { return Event{EventKind::Key, vk, scan, 0, 0, 0, {}}; }
Event KeyUp(uint32_t vk, uint32_t scan, uint32_t flags) { return Event{EventKind::Key, vk, scan, flags, 0, 0, {}}; }
Event MouseFlag(uint32_t flags) { return Event{EventKind::Mouse, flags, 0, 0, 0, 0, {}}; }
Event MouseMove(int32_t dx, int32_t dy) { return Event{EventKind::Mouse, 1, 0, 0, dx, dy, {}}; }
Event Wheel(uint32_t flags, int32_t delta) { return Event{EventKind::Wheel, flags, 0, 0, delta, 0, {}}; }
Event Slept(uint32_t milliseconds) { return Event{EventKind::Sleep, milliseconds, 0, 0, 0, 0, {}}; }
Event Message(const char* caption, const char* text)
{
    Event event{EventKind::Message, 0, 0, 0, 0, 0, {}};
    std::snprintf(event.text, sizeof event.text, "%s|%s", caption, text);
    return event;
}

Event Shell(const char* what)
{
    Event event{EventKind::Shell, 0, 0, 0, 0, 0, {}};
    std::snprintf(event.text, sizeof event.text, "%s", what);
    return event;
}

void ResetFakePlatform()
{
    std::memset(&fake, 0, sizeof fake);
    std::memset(openFiles, 0, sizeof openFiles);
    // Scan codes as Windows gives them for the modifiers, except that left
    // Shift gets a value of its own so a test can tell the two look-ups apart.
    for (uint32_t vk = 0; vk < 256; ++vk) {
        fake.mapType0[vk] = 0x100 + vk;  // above a byte, so truncation shows
        const bool typesItself = (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z');
        fake.mapType2[vk] = typesItself ? vk : 0;
        fake.oemScan[vk] = 0x10000 | ((vk + 3) & 0xFF);
    }
    fake.mapType0[16] = 42;
    fake.mapType0[17] = 29;
    fake.mapType0[18] = 56;
    fake.mapType0[160] = 0xAA;
    fake.doubleClickTime = 500;
    fake.failReadCall = -1;
    fake.failWriteCall = -1;
    std::strcpy(fake.modulePath, "C:\\Tools\\quellpad.exe");
}

void ResetProgramState()
{
    StopWatchingForeground();
    const PolledPort none[kPortCount] = {};
    SetPolledPorts(padPoll, none);
    StopPadPoll(padPoll);
    ResetFakePlatform();
    running = Running{};
    selectedPort = 0;
    selectedLayer = 0;
    stickPorts = StickPorts{};
}

std::vector<Event> Events()
{
    const uint32_t kept = fake.eventCount < 8192 ? fake.eventCount : 8192;
    return std::vector<Event>(fake.events, fake.events + kept);
}

void ClearEvents() { fake.eventCount = 0; }

FakeFile* FindFakeFile(const char* name)
{
    for (FakeFile& file : fake.files) {
        if (file.exists && std::strcmp(file.name, name) == 0) return &file;
    }
    return nullptr;
}

void PutFakeFile(const char* name, const std::vector<uint8_t>& bytes)
{
    FakeFile* file = FindFakeFile(name);
    for (FakeFile& free : fake.files) {
        if (file != nullptr) break;
        if (!free.exists) {
            file = &free;
            file->readOnly = false;
        }
    }
    file->exists = true;
    std::snprintf(file->name, sizeof file->name, "%s", name);
    file->size = uint32_t(bytes.size());
    if (!bytes.empty()) std::memcpy(file->data, bytes.data(), bytes.size());  // an empty vector may hold no buffer
}

std::vector<uint8_t> FakeFileBytes(const char* name)
{
    const FakeFile* file = FindFakeFile(name);
    if (file == nullptr) return {};
    return std::vector<uint8_t>(file->data, file->data + file->size);
}

// --- the platform operations ------------------------------------------------

void PlatformKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) { Record(Event{EventKind::Key, vk, scan, flags, 0, 0, {}}); }

void PlatformMouseEvent(uint32_t flags, int32_t dx, int32_t dy) { Record(Event{EventKind::Mouse, flags, 0, 0, dx, dy, {}}); }

void PlatformMouseWheel(uint32_t flags, int32_t delta) { Record(Wheel(flags, delta)); }

uint32_t PlatformMapVirtualKey(uint32_t code, uint32_t type)
{
    if (code > 255) return 0;
    return type == 0 ? fake.mapType0[code] : type == 2 ? fake.mapType2[code] : 0;
}

uint32_t PlatformOemKeyScan(uint16_t character) { return character > 255 ? 0xFFFFFFFF : fake.oemScan[character]; }

uint32_t PlatformGetDoubleClickTime() { return fake.doubleClickTime; }

void PlatformSleep(uint32_t milliseconds) { Record(Slept(milliseconds)); }

namespace {

void RecordDriver(const char* format, uint32_t port, uint32_t value = 0)
{
    char what[64];
    std::snprintf(what, sizeof what, format, port, value);
    Record(Shell(what));
}

}  // namespace

uint32_t PlatformJoyGetPosEx(uint32_t joystickId, JoyInfoEx* info)
{
    if (joystickId > 1) return 165;  // JOYERR_PARMS
    if (fake.logDriver) RecordDriver("read %u", joystickId);
    fake.lastRequest[joystickId] = *info;
    ++fake.posReads[joystickId];
    if (fake.posResult[joystickId] != 0) return fake.posResult[joystickId];
    const uint32_t size = info->dwSize, flags = info->dwFlags;
    *info = fake.state[joystickId];
    info->dwSize = size;
    info->dwFlags = flags;
    return 0;
}

uint32_t PlatformJoyGetDevCaps(uint32_t joystickId, JoyCaps* caps)
{
    if (joystickId > 1) return 165;
    if (fake.logDriver) RecordDriver("caps %u", joystickId);
    *caps = fake.caps[joystickId];
    return 0;
}

uint32_t PlatformJoyGetNumDevs() { return fake.noJoystickDriver ? 0 : 16; }

uint32_t PlatformJoySetCapture(uint32_t joystickId, uint32_t periodMs)
{
    RecordDriver("capture %u at %u", joystickId, periodMs);
    if (joystickId > 1) return 165;
    if (fake.posResult[joystickId] != 0) return 167;  // JOYERR_UNPLUGGED
    if (fake.captureResult[joystickId] != 0) return fake.captureResult[joystickId];
    if (fake.captured[joystickId]) return 166;  // JOYERR_NOCANDO
    fake.captured[joystickId] = true;
    fake.capturePeriod[joystickId] = periodMs;
    return 0;
}

void PlatformJoyReleaseCapture(uint32_t joystickId)
{
    RecordDriver("release %u", joystickId);
    if (joystickId <= 1) fake.captured[joystickId] = fake.captureSilent[joystickId] = false;
}

bool PlatformStartPadTimer(uint32_t milliseconds, PadTimerTick tick, void* context)
{
    PlatformStopPadTimer();
    if (fake.padTimer.fails) return false;
    fake.padTimer = {true, milliseconds, tick, context, fake.padTimer.stops, false};
    return true;
}

void PlatformStopPadTimer()
{
    if (fake.padTimer.running) ++fake.padTimer.stops;
    fake.padTimer.running = false;
}

void FakePadTick()
{
    if (fake.padTimer.running) fake.padTimer.tick(fake.padTimer.context);
}

XInputRead PlatformXInputGetState(uint32_t userIndex, XInputPad* pad)
{
    if (!fake.xinputLibrary) return XINPUT_NO_LIBRARY;
    if (userIndex >= 4 || !fake.padConnected[userIndex]) return XINPUT_NOT_CONNECTED;
    *pad = fake.pads[userIndex];
    return XINPUT_READ_OK;
}

bool PlatformReadRunValue(const char* name, char* value, uint32_t size)
{
    ++fake.runKeyReads;
    if (std::strcmp(name, "Quellpad") != 0 || !fake.runValueExists || std::strlen(fake.runValue) >= size) return false;
    std::strcpy(value, fake.runValue);
    return true;
}

bool PlatformWriteRunValue(const char* name, const char* value)
{
    Record(Shell((std::string("run-key write ") + name + "=" + value).c_str()));
    fake.runValueExists = true;
    std::snprintf(fake.runValue, sizeof fake.runValue, "%s", value);
    return true;
}

bool PlatformDeleteRunValue(const char* name)
{
    Record(Shell((std::string("run-key delete ") + name).c_str()));
    const bool existed = fake.runValueExists;
    fake.runValueExists = false;
    return existed;
}

uint32_t PlatformGetModuleFileName(char* buffer, uint32_t size)
{
    const uint32_t length = uint32_t(std::strlen(fake.modulePath));
    if (length < size) {
        std::memcpy(buffer, fake.modulePath, length + 1);
        return length;
    }
    std::memcpy(buffer, fake.modulePath, size - 1);
    buffer[size - 1] = '\0';
    return size;
}

PlatformFile PlatformFileOpen(const char* path)
{
    FakeFile* file = FindFakeFile(path);
    if (fake.failOpen || file == nullptr) return PLATFORM_BAD_FILE;
    for (int i = 0; i < 8; ++i) {
        if (openFiles[i].file == nullptr) {
            openFiles[i] = {file, 0};
            ++fake.openHandles;
            return i + 1;
        }
    }
    return PLATFORM_BAD_FILE;
}

PlatformFile PlatformFileCreateNew(const char* path)
{
    std::snprintf(fake.lastCreated, sizeof fake.lastCreated, "%s", path);
    // As the system: never an existing name, nothing beyond 259 characters.
    if (fake.failCreate || path[0] == '\0' || std::strlen(path) > 259 || FindFakeFile(path) != nullptr) {
        return PLATFORM_BAD_FILE;
    }
    PutFakeFile(path, {});
    return PlatformFileOpen(path);
}

int32_t PlatformFileRead(PlatformFile handle, void* buffer, uint32_t count)
{
    FakeFile* file = FileOf(handle);
    if (file == nullptr) return -1;
    OpenFile& open = openFiles[handle - 1];
    uint32_t available = file->size - open.position;
    int32_t result = int32_t(count < available ? count : available);
    if (fake.readCalls++ == fake.failReadCall) result = fake.failReadResult;
    if (result > 0) {
        std::memcpy(buffer, file->data + open.position, uint32_t(result));
        open.position += uint32_t(result);
    }
    return result;
}

int32_t PlatformFileWrite(PlatformFile handle, const void* buffer, uint32_t count)
{
    FakeFile* file = FileOf(handle);
    if (file == nullptr) return -1;
    OpenFile& open = openFiles[handle - 1];
    int32_t result = int32_t(count);
    if (fake.writeCalls++ == fake.failWriteCall || fake.failEveryWrite) result = fake.failWriteResult;
    if (result > 0) {
        std::memcpy(file->data + open.position, buffer, uint32_t(result));
        open.position += uint32_t(result);
        if (open.position > file->size) file->size = open.position;
    }
    return result;
}

void PlatformFileClose(PlatformFile handle)
{
    if (FileOf(handle) == nullptr) return;
    openFiles[handle - 1].file = nullptr;
    --fake.openHandles;
}

bool PlatformFileReplace(const char* source, const char* target)
{
    FakeFile* from = FindFakeFile(source);
    if (fake.failReplace || from == nullptr || target[0] == '\0') return false;
    FakeFile* to = FindFakeFile(target);
    if (to != nullptr && to->readOnly) return false;
    if (to != nullptr) to->exists = false;
    std::snprintf(from->name, sizeof from->name, "%s", target);
    return true;
}

void PlatformFileDelete(const char* path)
{
    if (FakeFile* file = FindFakeFile(path)) file->exists = false;
}

bool PlatformFileExists(const char* path) { return FindFakeFile(path) != nullptr; }

void PlatformMessageBox(const char* text, const char* caption)
{
    Record(Message(caption, text));
    if (fake.whileMessageBox != nullptr) fake.whileMessageBox();
}

// --- the window side -----------------------------------------------------

namespace {

void RecordShell(const char* format, uint32_t value)
{
    char what[192];
    std::snprintf(what, sizeof what, format, value);
    Record(Shell(what));
}

void RunWhileModal()
{
    if (fake.whileModal != nullptr) fake.whileModal();
}

bool AnswerDialog(const char* name, char* path)
{
    Record(Shell(name));
    RunWhileModal();
    if (fake.dialogConfirms) {
        const size_t length = strnlen(fake.dialogPath, 259);
        std::memcpy(path, fake.dialogPath, length);
        path[length] = '\0';
    }
    return fake.dialogConfirms;
}

}  // namespace

void PlatformPostToMainWindow(uint32_t message)
{
    if (message == WM_PADCHANGED) {
        ++fake.padChangedPosts;
        ++fake.padChangedQueued;
        return;
    }
    RecordShell("post %u", message);
}
void PlatformSendToMainWindow(uint32_t message)
{
    RecordShell("send %u", message);
    if (fake.dispatchSends) HandleMainWindowMessage(message, 0, 0);
}
void PlatformDestroyMainWindow() { Record(Shell("destroy")); }
void PlatformPostQuit() { Record(Shell("quit")); }

void PlatformTrackPopupMenu(const MenuItem* items, int count)
{
    std::string what = "menu ";
    for (int i = 0; i < count; ++i) {
        what += items[i].text + ("=" + std::to_string(items[i].command)) + (items[i].checked ? " ticked" : "") +
                (i + 1 < count ? "|" : "");
    }
    Record(Shell(what.c_str()));
    RunWhileModal();
}

bool PlatformGetOpenFileName(char* path) { return AnswerDialog("open-dialog", path); }
bool PlatformGetSaveFileName(char* path) { return AnswerDialog("save-dialog", path); }

// The shell's side of the seam.
int ShowConfigSheet()
{
    Record(Shell("sheet"));
    RunWhileModal();
    return fake.sheetResult;
}

void AddProgramTrayIcon() { Record(Shell("tray-add")); }

void SetProgramTrayTip(const char* tip)
{
    char what[192];
    std::snprintf(what, sizeof what, "tip %s", tip);
    Record(Shell(what));
}

void ShowTrayBalloon(const char* text)
{
    char what[192];
    std::snprintf(what, sizeof what, "balloon %s", text);
    Record(Shell(what));
}

// --- clock, timers and the window in front: state, never in the log -------

FakePlatform::Timer* FakeTimer(uint32_t id)
{
    switch (id) {
    case kTimerSettleFront: return &fake.timers[0];
    case kTimerPollFront: return &fake.timers[1];
    case STICK_WATCH_TIMER_ID: return &fake.timers[2];
    case XINPUT_REPORT_TIMER_ID: return &fake.timers[3];
    default: return nullptr;
    }
}

uint32_t PlatformTickCount() { return fake.tickCount; }

void PlatformSetTimer(uint32_t id, uint32_t milliseconds)
{
    if (FakePlatform::Timer* timer = FakeTimer(id)) *timer = {true, milliseconds, fake.tickCount + milliseconds};
}

void PlatformKillTimer(uint32_t id)
{
    if (FakePlatform::Timer* timer = FakeTimer(id)) timer->running = false;
}

void PlatformGetForeground(ForegroundWindow& front) { front = fake.foreground; }
void PlatformWatchForeground(uint32_t message) { fake.foregroundMessage = message; }
void PlatformStopWatchingForeground() { fake.foregroundMessage = 0; }
