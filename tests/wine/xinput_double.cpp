// Stand-in for XInput: answers XInputGetState (and its ordinal 100, which
// carries the guide button) from the file named by QP_XINPUT_SCRIPT and logs
// each scripted line as it is reached to QP_LOG. Built as xinput1_4.dll, the
// first library the program tries.
//
// Script, one command a line, '#' starts a comment:
//   pad INDEX [buttons MASK] [lt N] [rt N] [lx N] [ly N] [rx N] [ry N] [reads N]
//                 controller INDEX (0..3) is connected in this state for the
//                 next N reads (default 1); fields left out keep the previous
//                 line's values; MASK is XINPUT_GAMEPAD's wButtons, guide 0x400
//   gone INDEX [reads N]
//                 controller INDEX is not connected for the next N reads
//   edges INDEX COUNT MASK
//                 controller INDEX is connected and driven by the clock, not
//                 by reads: from 500 ms after its first read its buttons
//                 MASK go down and up COUNT times in all, each change 30 ms
//                 plus 0 to 11 ms after the one before, so that the changes
//                 fall at every phase of the program's reads. The times are
//                 logged at the first read as "xinput edge INDEX n=K at=US"
//                 (microseconds of the performance counter), for measuring
//                 how long a change takes to become a key.
//
// Once an index's lines are used up its last state stays; an index the
// script never names is not connected.
//
// A line's reads are counted on a clock of reads, so that a script means the
// same whichever thread reads: the program's main thread (the first to call)
// asks at most every 10 ms, its poll every 2 ms. A read by the first thread
// costs 5 units, a read by any other thread 1, and a line lasts reads x 5
// units: "reads 2" is two reads of the main thread, or ten of the poll.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "test_script.h"

namespace {

constexpr int kPads = 4;
constexpr int kMaxLines = 256;
constexpr long kMainThreadRead = 5;  // units of the clock of reads; any other thread's read is 1

struct Gamepad {
    WORD wButtons;
    BYTE bLeftTrigger;
    BYTE bRightTrigger;
    SHORT sThumbLX, sThumbLY, sThumbRX, sThumbRY;
};
struct State {
    DWORD dwPacketNumber;
    Gamepad Gamepad;
};

struct Line {
    bool connected;
    Gamepad pad;
    long reads;
    int number;  // in the script, for the log
};

constexpr int kMaxEdges = 1000;

struct Pad {
    long edgeCount;  // > 0: the pad follows the clock (edges)
    WORD edgeMask;
    long long edgeAt[kMaxEdges];
    Line lines[kMaxLines];
    int count;
    int next;
    long left;  // units of the clock of reads that the current line still answers
    const Line* current;
};

CRITICAL_SECTION lock;
bool loaded;
DWORD firstThread;  // the program's main thread
Pad pads[kPads];

bool Field(const char* key, long value, Line& line)
{
    Gamepad& p = line.pad;
    if (strcmp(key, "buttons") == 0) p.wButtons = WORD(value);
    else if (strcmp(key, "lt") == 0) p.bLeftTrigger = BYTE(value);
    else if (strcmp(key, "rt") == 0) p.bRightTrigger = BYTE(value);
    else if (strcmp(key, "lx") == 0) p.sThumbLX = SHORT(value);
    else if (strcmp(key, "ly") == 0) p.sThumbLY = SHORT(value);
    else if (strcmp(key, "rx") == 0) p.sThumbRX = SHORT(value);
    else if (strcmp(key, "ry") == 0) p.sThumbRY = SHORT(value);
    else if (strcmp(key, "reads") == 0) line.reads = value;
    else return false;
    return true;
}

bool ParseLine(char* text, int number)
{
    char* save = nullptr;
    const char* command = strtok_r(text, " \t\r", &save);
    if (command == nullptr || command[0] == '#') return true;
    const char* indexText = strtok_r(nullptr, " \t\r", &save);
    const int index = indexText != nullptr ? atoi(indexText) : -1;
    if (index < 0 || index >= kPads || pads[index].count == kMaxLines) return false;
    Pad& pad = pads[index];
    Line& line = pad.lines[pad.count];
    line = pad.count > 0 ? pad.lines[pad.count - 1] : Line{};
    line.reads = 1;
    line.number = number;
    if (strcmp(command, "edges") == 0) {
        const char* count = strtok_r(nullptr, " \t\r", &save);
        const char* mask = strtok_r(nullptr, " \t\r", &save);
        if (count == nullptr || mask == nullptr) return false;
        pad.edgeCount = strtol(count, nullptr, 0);
        pad.edgeMask = WORD(strtol(mask, nullptr, 0));
        return pad.edgeCount > 0 && pad.edgeCount <= kMaxEdges;
    }
    if (strcmp(command, "pad") == 0) {
        line.connected = true;
    } else if (strcmp(command, "gone") == 0) {
        line.connected = false;
    } else {
        return false;
    }
    for (const char* key; (key = strtok_r(nullptr, " \t\r", &save)) != nullptr;) {
        const char* value = strtok_r(nullptr, " \t\r", &save);
        if (value == nullptr || !Field(key, strtol(value, nullptr, 0), line)) return false;
    }
    ++pad.count;
    return true;
}

void LoadScript()
{
    if (loaded) return;
    loaded = true;
    static char text[32768];
    ReadScript("QP_XINPUT_SCRIPT", "xinput", text, sizeof text, ParseLine);
}

// The line that answers this read of the pad, moving on once one has
// answered its reads.
const Line* Answer(Pad& pad, DWORD index)
{
    if (pad.current == nullptr || (pad.left <= 0 && pad.next < pad.count)) {
        if (pad.next == pad.count) return pad.current;
        pad.current = &pad.lines[pad.next++];
        pad.left = pad.current->reads * kMainThreadRead;
        TestLog("xinput %s %lu line=%d", pad.current->connected ? "pad" : "gone", index, pad.current->number);
    }
    pad.left -= GetCurrentThreadId() == firstThread ? kMainThreadRead : 1;
    return pad.current;
}

long long Microseconds()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count.QuadPart / (frequency.QuadPart / 1000000);
}

// A clock-driven pad: the schedule is fixed at its first read.
void AnswerEdges(Pad& pad, DWORD index, State* state)
{
    const long long now = Microseconds();
    if (pad.edgeAt[0] == 0) {
        unsigned seed = 12345;
        long long at = now + 500000;
        for (long edge = 0; edge < pad.edgeCount; ++edge) {
            seed = seed * 1103515245u + 12345u;
            at += 30000 + (seed >> 8) % 11001;
            pad.edgeAt[edge] = at;
            TestLog("xinput edge %lu n=%ld at=%lld", index, edge, at);
        }
    }
    long passed = 0;
    while (passed < pad.edgeCount && pad.edgeAt[passed] <= now) ++passed;
    state->dwPacketNumber = DWORD(passed + 1);
    state->Gamepad = Gamepad{};
    if (passed % 2 == 1) state->Gamepad.wButtons = pad.edgeMask;
}

}  // namespace

extern "C" DWORD WINAPI XInputGetState(DWORD index, State* state)
{
    if (index >= kPads || state == nullptr) return ERROR_BAD_ARGUMENTS;
    EnterCriticalSection(&lock);
    if (firstThread == 0) firstThread = GetCurrentThreadId();
    LoadScript();
    if (pads[index].edgeCount > 0) {
        AnswerEdges(pads[index], index, state);
        LeaveCriticalSection(&lock);
        return ERROR_SUCCESS;
    }
    const Line* line = Answer(pads[index], index);
    const bool connected = line != nullptr && line->connected;
    if (connected) {
        state->dwPacketNumber = DWORD(pads[index].next);
        state->Gamepad = line->pad;
    }
    LeaveCriticalSection(&lock);
    return connected ? ERROR_SUCCESS : ERROR_DEVICE_NOT_CONNECTED;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) InitializeCriticalSection(&lock);
    return TRUE;
}
