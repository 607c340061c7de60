// Xbox controllers read every 2 ms off the main thread. A timer of 1 ms
// resolution calls PollPads on a thread of its own; it reads each port that
// answers with an Xbox controller, keeps the latest read of each and posts
// one WM_PADCHANGED to the main window when any of them changed. Only those
// latest reads, each with its sequence number, cross between the threads;
// the engine is touched by the main thread alone.
#pragma once

#include <atomic>
#include <cstdint>

#include "config/mapping_table.h"
#include "platform/xinput.h"

constexpr uint32_t kPadPollMs = 2;

// What one read of a controller gave.
struct PadRead {
    XInputRead result;
    XInputPad pad;
    bool operator==(const PadRead& other) const;
};

// A port's latest read, written by the poll and taken by the main thread
// without a lock: the sequence is odd while a write is under way, so a take
// that overlaps one is made again.
struct LatestPad {
    static constexpr int kWords = 4;
    std::atomic<uint32_t> sequence{0};
    std::atomic<uint32_t> words[kWords] = {};
};

struct PadPoll {
    // Set by the main thread only while the timer is stopped: 0 for a port
    // the poll leaves alone, else the XInput user index + 1.
    uint8_t user[kPortCount];
    bool running;
    // The poll thread's: each port's last read, to tell a change.
    PadRead last[kPortCount];
    bool read[kPortCount];
    // Shared.
    LatestPad latest[kPortCount];
    // The main thread's: the sequence of each port it has taken.
    uint32_t taken[kPortCount];
};

// One tick of the poll thread.
void PollPads(PadPoll& poll);

// The main thread: reads the ports whose user is not 0 from now on, or, with
// none, stops. Any change stops the timer and waits for it first; each port
// then counts as never read, so its first read is posted.
void SetPolledPads(PadPoll& poll, const uint8_t (&user)[kPortCount]);
// Stops the poll and waits for it: at exit and before a port changes source.
void StopPadPoll(PadPoll& poll);

// The main thread: the port's latest read, when it changed since the last
// take.
bool TakePadChange(PadPoll& poll, int port, PadRead& read);

// The one writer and the readers of a latest read, apart for the tests.
void PublishPad(LatestPad& latest, const PadRead& read);
uint32_t LoadPad(const LatestPad& latest, PadRead& read);
