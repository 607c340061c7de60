#include "app/pad_poll.h"

#include <cstring>

#include "app/messages.h"
#include "engine/axes.h"
#include "platform/pad_timer.h"
#include "platform/timers.h"
#include "platform/window.h"

namespace {

static_assert(sizeof(PolledRead) <= sizeof(uint32_t) * LatestRead::kWords);

void Tick(void* context)
{
    PollPads(*static_cast<PadPoll*>(context));
}

uint32_t Distance(uint32_t a, uint32_t b)
{
    return a > b ? a - b : b - a;
}

// What the engine would act on at once: a connect or disconnect, a button or
// the hat; an axis only from rest, since an active port is reported at the
// period anyway and a stick on its way would otherwise post at every tick.
bool Changed(const PolledRead& read, const PolledRead& posted, bool atRest)
{
    if (read.ok != posted.ok) return true;
    if (read.ok == 0) return false;
    const JoyInfoEx &now = read.report, &before = posted.report;
    if (now.dwButtons != before.dwButtons || now.dwPOV != before.dwPOV) return true;
    if (!atRest) return false;
    for (const AxisWiring& axis : kAxes) {
        if (Distance(now.*axis.position, before.*axis.position) >= kAnalogStep) return true;
    }
    return false;
}

}  // namespace

void PublishRead(LatestRead& latest, const PolledRead& read)
{
    uint32_t words[LatestRead::kWords] = {};
    std::memcpy(words, &read, sizeof read);
    const uint32_t sequence = latest.sequence.load(std::memory_order_relaxed);
    latest.sequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (int i = 0; i < LatestRead::kWords; ++i) latest.words[i].store(words[i], std::memory_order_relaxed);
    latest.sequence.store(sequence + 2, std::memory_order_release);
}

uint32_t LoadRead(const LatestRead& latest, PolledRead& read)
{
    uint32_t words[LatestRead::kWords];
    for (;;) {
        const uint32_t before = latest.sequence.load(std::memory_order_acquire);
        for (int i = 0; i < LatestRead::kWords; ++i)
            words[i] = latest.words[i].load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        if ((before & 1) == 0 && latest.sequence.load(std::memory_order_relaxed) == before) {
            std::memcpy(&read, words, sizeof read);
            return before;
        }
    }
}

void PollPads(PadPoll& poll)
{
    bool changed = false;
    for (int port = 0; port < kPortCount; ++port) {
        const PolledPort& polled = poll.port[port];
        if (polled.read == nullptr) continue;
        const uint32_t handled = poll.handled[port].load(std::memory_order_acquire);
        if (handled != poll.latest[port].sequence.load(std::memory_order_relaxed)) continue;
        PolledRead read = {};
        read.ok = polled.read(polled.index, read.report) ? 1 : 0;
        if (read.ok == 0) read.report = JoyInfoEx{};
        poll.sincePostMs[port] += poll.tickMs;
        const bool active = poll.active[port].load(std::memory_order_relaxed);
        const bool due = active && poll.sincePostMs[port] >= polled.periodMs;
        if (poll.seen[port] && !due && !Changed(read, poll.posted[port], !active)) continue;
        poll.seen[port] = true;
        poll.posted[port] = read;
        poll.sincePostMs[port] = 0;
        PublishRead(poll.latest[port], read);
        changed = true;
    }
    // One message for any number of ports: the main thread takes each port's
    // latest read, so nothing is lost when ticks outrun it.
    if (changed) PlatformPostToMainWindow(WM_PADCHANGED);
}

void StopPadPoll(PadPoll& poll)
{
    if (poll.run == POLL_THREAD) PlatformStopPadTimer();
    if (poll.run == POLL_MAIN_THREAD) PlatformKillTimer(XINPUT_REPORT_TIMER_ID);
    poll.run = POLL_STOPPED;
}

void SetPolledPorts(PadPoll& poll, const PolledPort (&ports)[kPortCount])
{
    bool same = true;
    uint32_t periodMs = 0;
    for (int port = 0; port < kPortCount; ++port) {
        same = same && ports[port] == poll.port[port];
        const uint32_t period = ports[port].periodMs;
        if (ports[port].read != nullptr && (periodMs == 0 || period < periodMs)) periodMs = period;
    }
    if (same && (poll.run != POLL_STOPPED || periodMs == 0)) return;
    StopPadPoll(poll);
    for (int port = 0; port < kPortCount; ++port) {
        if (ports[port] == poll.port[port]) continue;
        poll.port[port] = ports[port];
        poll.seen[port] = false;
        poll.sincePostMs[port] = 0;
        poll.active[port].store(false, std::memory_order_relaxed);
        poll.taken[port] = poll.latest[port].sequence.load(std::memory_order_relaxed);
        poll.handled[port].store(poll.taken[port], std::memory_order_relaxed);
    }
    if (periodMs == 0) return;
    poll.tickMs = kPadPollMs;
    if (PlatformStartPadTimer(kPadPollMs, Tick, &poll)) {
        poll.run = POLL_THREAD;
        return;
    }
    // No such timer: the main window's, at the report period; each of its
    // ticks is then a whole period.
    poll.tickMs = periodMs;
    PlatformSetTimer(XINPUT_REPORT_TIMER_ID, periodMs);
    poll.run = POLL_MAIN_THREAD;
}

bool TakePadChange(PadPoll& poll, int port, PolledRead& read)
{
    if (poll.port[port].read == nullptr) return false;
    const uint32_t sequence = LoadRead(poll.latest[port], read);
    if (sequence == poll.taken[port]) return false;
    poll.taken[port] = sequence;
    return true;
}

void PadChangeHandled(PadPoll& poll, int port, bool active)
{
    poll.active[port].store(active, std::memory_order_relaxed);
    poll.handled[port].store(poll.taken[port], std::memory_order_release);
}

void ReportPadSoon(PadPoll& poll, int port)
{
    poll.active[port].store(true, std::memory_order_relaxed);
}
