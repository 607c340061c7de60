// Controllers that the program reads itself (Xbox controllers), read every
// 2 ms off the main thread. A timer of 1 ms resolution calls PollPads on a
// thread of its own; it reads each polled port through its kind's read and
// keeps the latest read of each. Only those latest reads, each with its
// sequence number, and per port a flag and the sequence the main thread has
// handled cross between the threads; the engine is touched by the main
// thread alone.
//
// A port's reports drive more than its changes: a stick held at an end
// repeats its binding at every report, and an end fires (or the middle lets
// go) only on a report where the stick stands still. So the poll posts
// WM_PADCHANGED when the read's success, a button or the hat changed, or,
// while the port is at rest, an axis moved by kAnalogStep; and while the
// main thread says the port is active (ReportWantsFollowUp), a report at the
// kind's period as well, changed or not. A pad at rest posts nothing, and
// thumbstick jitter below kAnalogStep wakes nobody. A port whose last report
// the main thread has not handled yet is not read: a read then could only
// replace that report, and a press and release both within a busy moment of
// the main thread (a one-shot's delay, a text macro) would vanish.
#pragma once

#include <atomic>
#include <cstdint>

#include "config/mapping_table.h"
#include "platform/joystick.h"

constexpr uint32_t kPadPollMs = 2;
constexpr uint32_t kAnalogStep = 1024;  // of an axis's 65536

// What one read of a polled port gave: whether it answered, and its report.
struct PolledRead {
    uint32_t ok;
    JoyInfoEx report;
};

// A port's latest read, written by the poll and taken by the main thread
// without a lock: the sequence is odd while a write is under way, so a take
// that overlaps one is made again.
struct LatestRead {
    static constexpr int kWords = 16;
    std::atomic<uint32_t> sequence{0};
    std::atomic<uint32_t> words[kWords] = {};
};

// How the poll reads a port; read nullptr for a port it leaves alone.
struct PolledPort {
    bool (*read)(uint32_t index, JoyInfoEx& report);
    uint32_t index;
    uint32_t periodMs;  // the kind's report period: an active port's longest wait
    bool operator==(const PolledPort&) const = default;
};

enum PollRun : uint8_t {
    POLL_STOPPED,
    POLL_THREAD,       // the 1 ms timer's thread, every kPadPollMs
    POLL_MAIN_THREAD,  // no such timer: the main window's XINPUT_REPORT_TIMER_ID, at the report period
};

struct PadPoll {
    // The main thread's, changed only while no tick runs.
    PolledPort port[kPortCount];
    PollRun run;
    uint32_t tickMs;
    // The ticks': per port the last read posted, how long ago, and whether
    // the port has been read since it joined (its first read always posts).
    PolledRead posted[kPortCount];
    uint32_t sincePostMs[kPortCount];
    bool seen[kPortCount];
    // Shared: the latest read posted; whether the main thread wants a report
    // at the period even without a change; the sequence it has handled.
    LatestRead latest[kPortCount];
    std::atomic<bool> active[kPortCount];
    std::atomic<uint32_t> handled[kPortCount];
    // The main thread's: the sequence of each port it has taken.
    uint32_t taken[kPortCount];
};

// One tick: reads each polled port and posts one WM_PADCHANGED when any of
// them has a report to hand over.
void PollPads(PadPoll& poll);

// The main thread: reads these ports from now on, or, with none, stops. A
// change stops the timer and waits for it first; a port that joins or
// changes counts as never read, so its first read is posted.
void SetPolledPorts(PadPoll& poll, const PolledPort (&ports)[kPortCount]);
// Stops the poll and waits for it: at exit and before a port changes source.
void StopPadPoll(PadPoll& poll);

// The main thread: the port's latest read, when a newer one was posted since
// the last take.
bool TakePadChange(PadPoll& poll, int port, PolledRead& read);
// The main thread, once it has handled the read it took: whether the port
// wants the next report at the period even if nothing changes. The poll
// reads the port again from then on.
void PadChangeHandled(PadPoll& poll, int port, bool active);

// The main thread: the port is reported within the period even without a
// change, where the engine's side changed (a let-go, new limits) and only a
// report puts it right.
void ReportPadSoon(PadPoll& poll, int port);

// The one writer and the readers of a latest read, apart for the tests.
void PublishRead(LatestRead& latest, const PolledRead& read);
uint32_t LoadRead(const LatestRead& latest, PolledRead& read);
