#include "app/pad_poll.h"

#include <cstring>

#include "app/messages.h"
#include "platform/pad_timer.h"
#include "platform/window.h"

namespace {

static_assert(sizeof(PadRead) <= sizeof(uint32_t) * LatestPad::kWords);

void Tick(void* context)
{
    PollPads(*static_cast<PadPoll*>(context));
}

}  // namespace

bool PadRead::operator==(const PadRead& other) const
{
    return result == other.result && (result != XINPUT_READ_OK || std::memcmp(&pad, &other.pad, sizeof pad) == 0);
}

void PublishPad(LatestPad& latest, const PadRead& read)
{
    uint32_t words[LatestPad::kWords] = {};
    std::memcpy(words, &read, sizeof read);
    const uint32_t sequence = latest.sequence.load(std::memory_order_relaxed);
    latest.sequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    for (int i = 0; i < LatestPad::kWords; ++i) latest.words[i].store(words[i], std::memory_order_relaxed);
    latest.sequence.store(sequence + 2, std::memory_order_release);
}

uint32_t LoadPad(const LatestPad& latest, PadRead& read)
{
    uint32_t words[LatestPad::kWords];
    for (;;) {
        const uint32_t before = latest.sequence.load(std::memory_order_acquire);
        for (int i = 0; i < LatestPad::kWords; ++i) words[i] = latest.words[i].load(std::memory_order_relaxed);
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
        if (poll.user[port] == 0) continue;
        PadRead read = {};
        read.result = PlatformXInputGetState(poll.user[port] - 1u, &read.pad);
        if (read.result != XINPUT_READ_OK) read.pad = XInputPad{};
        if (poll.read[port] && read == poll.last[port]) continue;
        poll.read[port] = true;
        poll.last[port] = read;
        PublishPad(poll.latest[port], read);
        changed = true;
    }
    // One message for any number of changes: the main thread takes each
    // port's latest read, so nothing is lost when ticks outrun it.
    if (changed) PlatformPostToMainWindow(WM_PADCHANGED);
}

void StopPadPoll(PadPoll& poll)
{
    if (!poll.running) return;
    PlatformStopPadTimer();
    poll.running = false;
}

void SetPolledPads(PadPoll& poll, const uint8_t (&user)[kPortCount])
{
    if (poll.running && std::memcmp(poll.user, user, sizeof user) == 0) return;
    StopPadPoll(poll);
    bool any = false;
    for (int port = 0; port < kPortCount; ++port) {
        poll.user[port] = user[port];
        poll.read[port] = false;
        poll.taken[port] = poll.latest[port].sequence.load(std::memory_order_relaxed);
        any = any || user[port] != 0;
    }
    if (any) poll.running = PlatformStartPadTimer(kPadPollMs, Tick, &poll);
}

bool TakePadChange(PadPoll& poll, int port, PadRead& read)
{
    if (poll.user[port] == 0) return false;
    const uint32_t sequence = LoadPad(poll.latest[port], read);
    if (sequence == poll.taken[port]) return false;
    poll.taken[port] = sequence;
    return true;
}
