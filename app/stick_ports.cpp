#include "app/stick_ports.h"

#include "app/messages.h"
#include "app/profiles.h"
#include "app/running_config.h"
#include "engine/engine_state.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "engine/xinput_report.h"
#include "platform/clock.h"
#include "platform/joystick_capture.h"
#include "platform/joystick.h"
#include "platform/timers.h"
#include "platform/window.h"
#include "platform/xinput.h"
#include "quellpad_version.h"

StickPorts stickPorts;

namespace {

constexpr uint32_t kLongestSilenceMs = 60000;  // a driver's odd period must not stop the watch

// Ticks wrap after 49 days; their difference tells which comes first.
bool Due(uint32_t at, uint32_t now)
{
    return int32_t(now - at) >= 0;
}

bool ReadsPad(int port)
{
    return stickPorts.source[port] != 0;
}

// An Xbox controller's state, turned into the report the driver would give.
bool ReadPad(int port, JoyInfoEx& info)
{
    XInputPad pad = {};
    if (PlatformXInputGetState(stickPorts.source[port] - 1u, &pad) != XINPUT_READ_OK) return false;
    XInputReport(pad, info);
    return true;
}

// joyGetPosEx is cheap; joyGetDevCapsA is not and is read only once a
// stick has answered.
bool Answers(int port)
{
    if (ReadsPad(port)) {
        JoyInfoEx info = {};
        return ReadPad(port, info);
    }
    JoyInfoEx info = {};
    info.dwSize = sizeof info;
    info.dwFlags = kJoyReturnAll;
    return PlatformJoyGetPosEx(uint32_t(port), &info) == kJoyNoError;
}

uint32_t ProbePeriod(int port)
{
    return ReadsPad(port) ? kFreePadProbeMs : kFreePortProbeMs;
}

// When the ports without a stick are asked next: a free Xbox controller
// every second, a driver's port every 2 s.
uint32_t NextProbe(uint32_t now)
{
    uint32_t period = kFreePortProbeMs;
    for (int port = 0; port < kPortCount; ++port) {
        if (stickPorts.state[port] != PORT_ANSWERING && ProbePeriod(port) < period) period = ProbePeriod(port);
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
        // The first port without a stick starts the probes; an Xbox
        // controller is asked sooner than the driver.
        const uint32_t at = now + ProbePeriod(port);
        if (!AnyPortWithoutStick() || int32_t(at - stickPorts.probeAt) < 0) stickPorts.probeAt = at;
    }
    stickPorts.state[port] = state;
    stickPorts.returned[port] = false;
}

// Reports at every polling period, changed or not, so held ends repeat. An
// Xbox controller has no capture: the report timer reads it.
bool Capture(int port, uint32_t now)
{
    if (ReadsPad(port)) {
        XInputCaps(stickPorts.source[port] - 1u, running.engine.joyCaps[port]);
        SetState(port, PORT_ANSWERING, now);
        return true;
    }
    PlatformJoyGetDevCaps(uint32_t(port), &running.engine.joyCaps[port]);
    const uint32_t period = running.engine.joyCaps[port].wPeriodMin;
    if (PlatformJoySetCapture(uint32_t(port), period) != kJoyNoError) return false;
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
// the hat field.
void Return(int port, uint32_t now)
{
    if (ReadsPad(port)) {
        XInputCaps(stickPorts.source[port] - 1u, running.engine.joyCaps[port]);
    } else {
        PlatformJoyGetDevCaps(uint32_t(port), &running.engine.joyCaps[port]);
    }
    ComputePortLimits(running.engine, running.config.settings, port);
    ForgetPortReport(running.engine, port);
    stickPorts.lastReportAt[port] = now;
    SetState(port, PORT_ANSWERING, now);
    stickPorts.returned[port] = true;
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

// A stick that has sent nothing for its silence. Unplugged, it no longer
// answers: some drivers (Wine's) then skip it instead of reporting a failed
// read, and what it held must not stay down. A stick that came back but
// whose capture delivers nothing is captured anew, once; otherwise it only
// rests under a quiet driver and is looked at again a silence later.
void CheckSilence(int port, uint32_t now)
{
    if (!Answers(port)) {
        LetGoOfLostStick(running.engine, port);
        SetState(port, PORT_LOST, now);
    } else if (stickPorts.returned[port]) {
        PlatformJoyReleaseCapture(uint32_t(port));
        SetState(port, PORT_FREE, now);
        CaptureArrived(port, now);
    } else {
        stickPorts.lastReportAt[port] = now;
    }
}

void ShowTip()
{
    const bool waiting = WaitingForSticks();
    if (waiting == stickPorts.waitingTip) return;
    stickPorts.waitingTip = waiting;
    ShowRunningTip();
}

void Sooner(uint32_t at, uint32_t now, bool& armed, uint32_t& wait)
{
    const uint32_t until = Due(at, now) ? 0 : at - now;
    if (!armed || until < wait) wait = until;
    armed = true;
}

// One timer wakes the watch for whatever is due first: a check after a
// device change, the next probe, or the end of a stick's silence. It is set
// here, not at each report: a report only moves a silence's end later, and
// the watch then sleeps on.
void ArmWatch(uint32_t now)
{
    bool armed = false;
    uint32_t wait = 0;
    for (int i = 0; i < 2; ++i) {
        if (stickPorts.checkPending[i]) Sooner(stickPorts.checkAt[i], now, armed, wait);
    }
    if (AnyPortWithoutStick()) Sooner(stickPorts.probeAt, now, armed, wait);
    bool padsReport = false;
    for (int port = 0; port < kPortCount; ++port) {
        if (stickPorts.state[port] != PORT_ANSWERING) continue;
        if (ReadsPad(port)) {
            padsReport = true;
        } else {
            Sooner(stickPorts.lastReportAt[port] + stickPorts.silenceMs[port], now, armed, wait);
        }
    }
    if (armed) {
        PlatformSetTimer(STICK_WATCH_TIMER_ID, wait == 0 ? 1 : wait);
    } else {
        PlatformKillTimer(STICK_WATCH_TIMER_ID);
    }
    // Set only when it starts, so that its period stays steady.
    if (padsReport && !stickPorts.padTimer) PlatformSetTimer(XINPUT_REPORT_TIMER_ID, kPadReportMs);
    if (!padsReport && stickPorts.padTimer) PlatformKillTimer(XINPUT_REPORT_TIMER_ID);
    stickPorts.padTimer = padsReport;
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

bool CaptureSticksAtStart(bool waitForSticks)
{
    const uint32_t now = PlatformTickCount();
    bool any = false;
    for (int port = 0; port < kPortCount; ++port) {
        stickPorts.source[port] = running.config.portSource[port];
        running.engine.capsKept[port] = ReadsPad(port);
        if (!ReadsPad(port)) {
            if (Capture(port, now)) any = true;
            continue;
        }
        // Counts as captured where XInput can be read at all; the controller
        // itself may come later.
        XInputPad pad;
        if (PlatformXInputGetState(0, &pad) != XINPUT_NO_LIBRARY) any = true;
        if (Answers(port)) CaptureArrived(port, now);
    }
    if (!any && !waitForSticks) {
        PlatformMessageBox("could not capture game-device", "ERROR!");
        return false;
    }
    stickPorts.waitForSticks = waitForSticks;
    stickPorts.started = true;
    stickPorts.probeAt = NextProbe(now);
    ShowTip();
    ArmWatch(now);
    return true;
}

void ReleaseSticks()
{
    for (int port = 0; port < kPortCount; ++port) {
        if (stickPorts.state[port] != PORT_FREE && !ReadsPad(port)) PlatformJoyReleaseCapture(uint32_t(port));
        stickPorts.state[port] = PORT_FREE;
    }
}

void HandleStickReport(int port)
{
    // A driver's report that was on its way when the port turned to a pad.
    if (ReadsPad(port)) return;
    const uint32_t now = PlatformTickCount();
    if (stickPorts.state[port] == PORT_LOST) {
        Return(port, now);
        ShowTip();
        ArmWatch(now);
    }
    ProcessJoystickReport(running.engine, running.config, port, now);
    // The one thing a report adds: when the stick last answered, for the watch.
    if (running.engine.lastReport[port].readOk) {
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
    ShowTip();
    ArmWatch(now);
}

void HandleStickWatch()
{
    const uint32_t now = PlatformTickCount();
    for (int port = 0; port < kPortCount; ++port) {
        if (stickPorts.state[port] == PORT_ANSWERING &&
            Due(stickPorts.lastReportAt[port] + stickPorts.silenceMs[port], now)) {
            CheckSilence(port, now);
        }
    }
    bool probe = AnyPortWithoutStick() && Due(stickPorts.probeAt, now);
    for (int i = 0; i < 2; ++i) {
        if (stickPorts.checkPending[i] && Due(stickPorts.checkAt[i], now)) {
            stickPorts.checkPending[i] = false;
            probe = true;
        }
    }
    if (probe) ProbePorts(now);
    ShowTip();
    ArmWatch(now);
}

void HandleXInputReports()
{
    const uint32_t now = PlatformTickCount();
    bool lost = false;
    for (int port = 0; port < kPortCount; ++port) {
        if (!ReadsPad(port) || stickPorts.state[port] != PORT_ANSWERING) continue;
        JoyInfoEx info = {};
        if (ReadPad(port, info)) {
            ProcessJoystickState(running.engine, running.config, port, &info, now);
            continue;
        }
        // Disconnected: let go at once, and ask again once a second.
        ProcessJoystickState(running.engine, running.config, port, nullptr, now);
        SetState(port, PORT_LOST, now);
        lost = true;
    }
    if (!lost) return;
    ShowTip();
    ArmWatch(now);
}

void ApplyPortSources()
{
    if (!stickPorts.started) return;
    bool changed = false;
    const uint32_t now = PlatformTickCount();
    for (int port = 0; port < kPortCount; ++port) {
        const uint8_t source = running.config.portSource[port];
        if (source == stickPorts.source[port]) continue;
        changed = true;
        LetGoOfPort(running.engine, port);
        if (stickPorts.state[port] != PORT_FREE && !ReadsPad(port)) PlatformJoyReleaseCapture(uint32_t(port));
        stickPorts.source[port] = source;
        running.engine.capsKept[port] = source != 0;
        SetState(port, PORT_FREE, now);
    }
    if (!changed) return;
    ProbePorts(now);
    ShowTip();
    ArmWatch(now);
}
