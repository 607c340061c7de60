#include "app/stick_ports.h"

#include "app/messages.h"
#include "app/running.h"
#include "config/config_file.h"
#include "engine/engine_state.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/clock.h"
#include "platform/timers.h"
#include "platform/window.h"

StickPorts stickPorts;
PadPoll padPoll;

namespace {

constexpr uint32_t kLongestSilenceMs = 60000;  // a driver's odd period must not stop the watch


const ControllerSource& Kind(int port)
{
    return KindOf(stickPorts.source[port]);
}

uint32_t Index(int port)
{
    return stickPorts.source[port].index;
}

bool Answers(int port)
{
    JoyInfoEx report;
    return Kind(port).read(Index(port), report);
}

// The limits are computed from what the port reads, never from a driver it
// does not use.
void ReadPortCaps(int port, JoyCaps& caps)
{
    Kind(port).caps(Index(port), caps);
}

// When the ports without a stick are asked next: each kind at its own pace,
// the soonest of them.
uint32_t NextProbe(uint32_t now)
{
    uint32_t period = 0;
    for (int port = 0; port < kPortCount; ++port) {
        if (stickPorts.state[port] == PORT_ANSWERING) continue;
        if (period == 0 || Kind(port).probeMs < period) period = Kind(port).probeMs;
    }
    return now + period;
}

bool AnyPortWithoutStick()
{
    for (PortState state : stickPorts.state) {
        if (state != PORT_ANSWERING) return true;
    }
    return false;
}

// A port that loses its stick is probed from now on, the first time a probe
// period from now.
void SetState(int port, PortState state, uint32_t now)
{
    if (state != PORT_ANSWERING) {
        // The first port without a stick starts the probes; a kind that is
        // asked sooner moves them closer.
        const uint32_t at = now + Kind(port).probeMs;
        if (!AnyPortWithoutStick() || int32_t(at - stickPorts.probeAt) < 0) stickPorts.probeAt = at;
    }
    stickPorts.state[port] = state;
    stickPorts.returned[port] = false;
}

// A driver's stick reports at every polling period, changed or not, so held
// ends repeat; a polled kind is read by the report timer at its own period.
bool Capture(int port, uint32_t now)
{
    const ControllerSource& kind = Kind(port);
    kind.caps(Index(port), running.engine.joyCaps[port]);
    const uint32_t period = running.engine.joyCaps[port].wPeriodMin;
    if (!kind.open(Index(port), period)) return false;
    const uint32_t periods = period > kLongestSilenceMs / 10 ? kLongestSilenceMs : period * 10;
    stickPorts.silenceMs[port] = periods > kSilenceMs ? periods : kSilenceMs;
    stickPorts.lastReportAt[port] = now;
    SetState(port, PORT_ANSWERING, now);
    return true;
}

// After the start the limits exist already, for whatever the port held then:
// the new stick gets its own, and its first report compares against zero
// positions as at the start.
void CaptureArrived(int port, uint32_t now)
{
    if (!Capture(port, now)) return;
    ComputePortLimits(running.engine, running.config.settings, port);
    ForgetPortReport(running.engine, port);
}

// Another stick may have come back on the port: a hatless stick where a
// gamepad was would otherwise press "hat up" from the 0 its driver leaves in
// the hat field. Its capture stays; whether it still delivers is seen at the
// end of a silence. A polled kind has no capture to doubt: what answers is
// read at the next poll, once.
void Return(int port, uint32_t now)
{
    ReadPortCaps(port, running.engine.joyCaps[port]);
    ComputePortLimits(running.engine, running.config.settings, port);
    ForgetPortReport(running.engine, port);
    stickPorts.lastReportAt[port] = now;
    SetState(port, PORT_ANSWERING, now);
    stickPorts.returned[port] = Kind(port).posts;
}

// Free ports capture a stick that answers, lost ones take theirs back.
void ProbePorts(uint32_t now)
{
    stickPorts.probeAt = NextProbe(now);
    for (int port = 0; port < kPortCount; ++port) {
        const PortState state = stickPorts.state[port];
        if (state == PORT_ANSWERING || !Answers(port)) continue;
        if (state == PORT_FREE) {
            CaptureArrived(port, now);
        } else {
            Return(port, now);
        }
    }
}

// A captured stick that has posted nothing for its silence. Unplugged, it no
// longer answers: some drivers (Wine's) then skip it instead of reporting a
// failed read, and what it held must not stay down. A stick that came back
// but whose capture delivers nothing is captured anew, once; otherwise it
// only rests under a quiet driver and is looked at again a silence later.
void CheckSilence(int port, uint32_t now)
{
    if (!Answers(port)) {
        LetGoOfLostStick(running.engine, port);
        SetState(port, PORT_LOST, now);
    } else if (stickPorts.returned[port]) {
        Kind(port).close(Index(port));
        SetState(port, PORT_FREE, now);
        CaptureArrived(port, now);
    } else {
        stickPorts.lastReportAt[port] = now;
    }
}

// Only silence tells of a stick whose driver posts; a polled one says so at
// its next read.
bool Silent(int port, uint32_t now)
{
    return stickPorts.state[port] == PORT_ANSWERING && Kind(port).posts &&
           TickDue(stickPorts.lastReportAt[port] + stickPorts.silenceMs[port], now);
}

// The ports only say that the tip changed; the shell shows it.
void NoteTip()
{
    const bool waiting = WaitingForSticks();
    if (waiting == stickPorts.waitingTip) return;
    stickPorts.waitingTip = waiting;
    stickPorts.tipChanged = true;
}

void Sooner(uint32_t at, uint32_t now, bool& armed, uint32_t& wait)
{
    const uint32_t until = TickDue(at, now) ? 0 : at - now;
    if (!armed || until < wait) wait = until;
    armed = true;
}

// One timer wakes the watch for whatever is due first: a check after a
// device change, the next probe, or the end of a stick's silence. It is set
// here, not at each report: a report only moves a silence's end later, and
// the watch then sleeps on. The poll reads the ports that answer with a kind
// the program reads itself; it changes only when they do.
void ArmWatch(uint32_t now)
{
    bool armed = false;
    uint32_t wait = 0;
    for (int i = 0; i < 2; ++i) {
        if (stickPorts.checkPending[i]) Sooner(stickPorts.checkAt[i], now, armed, wait);
    }
    if (AnyPortWithoutStick()) Sooner(stickPorts.probeAt, now, armed, wait);
    PolledPort polled[kPortCount] = {};
    for (int port = 0; port < kPortCount; ++port) {
        if (stickPorts.state[port] != PORT_ANSWERING) continue;
        if (Kind(port).posts) {
            Sooner(stickPorts.lastReportAt[port] + stickPorts.silenceMs[port], now, armed, wait);
        } else if (stickPorts.polling) {
            polled[port] = {Kind(port).read, Index(port), Kind(port).pollMs};
        }
    }
    if (armed) {
        PlatformSetTimer(STICK_WATCH_TIMER_ID, wait == 0 ? 1 : wait);
    } else {
        PlatformKillTimer(STICK_WATCH_TIMER_ID);
    }
    SetPolledPorts(padPoll, polled);
}

PolledView ViewOf(int port)
{
    PolledView view = {running.engine.lastReport[port].buttons, running.engine.lastReport[port].hats, {}};
    for (int axis = 0; axis < kAxisCount; ++axis)
        view.threshold[axis] = running.engine.axisLimits.threshold[axis][port];
    return view;
}

bool SameWordIgnoringCase(const char* word, const char* end, const char* expected)
{
    for (; word != end; ++word, ++expected) {
        const char c = *word >= 'A' && *word <= 'Z' ? char(*word - 'A' + 'a') : *word;
        if (*expected == '\0' || c != *expected) return false;
    }
    return *expected == '\0';
}

}  // namespace

bool WaitingForSticks()
{
    if (!stickPorts.waitForSticks) return false;
    for (PortState state : stickPorts.state) {
        if (state == PORT_ANSWERING) return false;
    }
    return true;
}

bool WaitForSticksRequested(const char* commandLine)
{
    const char* at = commandLine;
    while (at != nullptr && *at != '\0') {
        while (*at == ' ' || *at == '\t') ++at;
        const char* end = at;
        while (*end != '\0' && *end != ' ' && *end != '\t') ++end;
        if (end != at && SameWordIgnoringCase(at, end, "/wait")) return true;
        at = end;
    }
    return false;
}

bool GameDevicePresent(const char* configPath)
{
    // Every port reads the driver unless its file says otherwise: the file
    // matters only without one.
    if (kControllerSources[SOURCE_DRIVER].present()) return true;
    Configuration config{};
    LoadConfig(configPath, config);
    // Each other kind that a port reads is asked once.
    for (int kind = SOURCE_DRIVER + 1; kind < kSourceKindCount; ++kind) {
        bool read = false;
        for (int port = 0; port < kPortCount; ++port) read |= SourceOfByte(port, config.portSource[port]).kind == kind;
        if (read && kControllerSources[kind].present()) return true;
    }
    PlatformMessageBox("no game-device installed", "ERROR!");
    return false;
}

bool CaptureSticksAtStart(bool waitForSticks)
{
    const uint32_t now = PlatformTickCount();
    bool any = false;
    for (int port = 0; port < kPortCount; ++port) {
        stickPorts.source[port] = SourceOfByte(port, running.config.portSource[port]);
        if (Kind(port).posts) {
            if (Capture(port, now)) any = true;
            continue;
        }
        // Counts as captured where the kind can be read at all; the
        // controller itself may come later.
        if (Kind(port).present()) any = true;
        if (Answers(port)) CaptureArrived(port, now);
    }
    if (!any && !waitForSticks) {
        PlatformMessageBox("could not capture game-device", "ERROR!");
        return false;
    }
    running.engine.readCaps = ReadPortCaps;
    stickPorts.waitForSticks = waitForSticks;
    stickPorts.started = true;
    stickPorts.probeAt = NextProbe(now);
    stickPorts.waitingTip = WaitingForSticks();
    ArmWatch(now);
    return true;
}

void StartPolling()
{
    stickPorts.polling = true;
    ArmWatch(PlatformTickCount());
}

void StopPolling()
{
    stickPorts.polling = false;
    StopPadPoll(padPoll);
}

void ReleaseSticks()
{
    StopPadPoll(padPoll);
    for (int port = 0; port < kPortCount; ++port) {
        if (stickPorts.state[port] != PORT_FREE) Kind(port).close(Index(port));
        stickPorts.state[port] = PORT_FREE;
    }
}

void HandleStickReport(int port)
{
    // A driver's report that was on its way when the port turned to another kind.
    if (stickPorts.source[port].kind != SOURCE_DRIVER) return;
    const uint32_t now = PlatformTickCount();
    if (stickPorts.state[port] == PORT_LOST) {
        Return(port, now);
        NoteTip();
        ArmWatch(now);
    }
    JoyInfoEx report;
    const bool read = Kind(port).read(Index(port), report);
    ProcessJoystickState(running.engine, running.config, port, read ? &report : nullptr, now);
    // The one thing a report adds: when the stick last answered, for the watch.
    if (read) {
        stickPorts.lastReportAt[port] = PlatformTickCount();
        stickPorts.returned[port] = false;
    }
}

void CheckSticksSoon()
{
    const uint32_t now = PlatformTickCount();
    for (int i = 0; i < 2; ++i) {
        stickPorts.checkPending[i] = true;
        stickPorts.checkAt[i] = now + kStickCheckDelays[i];
    }
    ProbePorts(now);
    NoteTip();
    ArmWatch(now);
}

void HandleStickWatch()
{
    const uint32_t now = PlatformTickCount();
    for (int port = 0; port < kPortCount; ++port) {
        if (Silent(port, now)) CheckSilence(port, now);
    }
    bool probe = AnyPortWithoutStick() && TickDue(stickPorts.probeAt, now);
    for (int i = 0; i < 2; ++i) {
        if (stickPorts.checkPending[i] && TickDue(stickPorts.checkAt[i], now)) {
            stickPorts.checkPending[i] = false;
            probe = true;
        }
    }
    if (probe) ProbePorts(now);
    NoteTip();
    ArmWatch(now);
}

void HandlePolledReports()
{
    const uint32_t now = PlatformTickCount();
    bool lost = false;
    for (int port = 0; port < kPortCount; ++port) {
        if (Kind(port).posts || stickPorts.state[port] != PORT_ANSWERING) continue;
        PolledRead read;
        if (!TakePadChange(padPoll, port, read)) continue;
        if (read.ok != 0) {
            const bool followUp = ReportWantsFollowUp(running.engine, port, read.report);
            ProcessJoystickState(running.engine, running.config, port, &read.report, now);
            stickPorts.polledView[port] = ViewOf(port);
            PadChangeHandled(padPoll, port, followUp);
            continue;
        }
        // Disconnected: let go at once, and ask again at the kind's pace.
        ProcessJoystickState(running.engine, running.config, port, nullptr, now);
        PadChangeHandled(padPoll, port, false);
        SetState(port, PORT_LOST, now);
        lost = true;
    }
    if (!lost) return;
    NoteTip();
    ArmWatch(now);
}

void ReportPolledPortsWhereChanged()
{
    for (int port = 0; port < kPortCount; ++port) {
        if (padPoll.port[port].read == nullptr || stickPorts.state[port] != PORT_ANSWERING) continue;
        if (!(ViewOf(port) == stickPorts.polledView[port])) ReportPadSoon(padPoll, port);
    }
}

void PollOnMainThread()
{
    PollPads(padPoll);
}

void ApplyPortSources()
{
    if (!stickPorts.started) return;
    bool changed = false;
    const uint32_t now = PlatformTickCount();
    for (int port = 0; port < kPortCount; ++port) {
        const PortSource source = SourceOfByte(port, running.config.portSource[port]);
        if (source == stickPorts.source[port]) continue;
        // The poll may be reading the port's old source this moment.
        if (!changed) StopPadPoll(padPoll);
        changed = true;
        LetGoOfPort(running.engine, port);
        if (stickPorts.state[port] != PORT_FREE) Kind(port).close(Index(port));
        stickPorts.source[port] = source;
        SetState(port, PORT_FREE, now);
    }
    if (!changed) return;
    ProbePorts(now);
    NoteTip();
    ArmWatch(now);
}
