// Which ports hold a captured stick, and what to do when one comes or goes:
// a stick plugged in after the start, one that falls silent or fails its
// reads, one that comes back (perhaps another stick), and a start with none.
#pragma once

#include <cstdint>

#include "config/mapping_table.h"

constexpr uint32_t kStickCheckDelays[2] = {300, 2000};  // ms after a device change or resume
constexpr uint32_t kFreePortProbeMs = 2000;  // how often a port without a stick is asked
constexpr uint32_t kSilenceMs = 500;         // at least; or 10 capture periods
constexpr uint32_t kFreePadProbeMs = 1000;   // how often a free port asks its Xbox controller
constexpr uint32_t kPadReportMs = 10;        // an Xbox controller's report period

enum PortState : uint8_t {
    PORT_FREE,       // no capture: probed until a stick answers
    PORT_ANSWERING,  // captured, reporting
    PORT_LOST,       // captured, but silent and its probe failed: let go of, probed until it answers
};

struct StickPorts {
    PortState state[kPortCount];
    // What the port reads now: 0 its joystick of the driver, 1 to 4 that
    // Xbox controller through XInput, as the running configuration says.
    uint8_t source[kPortCount];
    // Answered a probe after it was lost and has sent no report since: if
    // none comes, the capture is made anew.
    bool returned[kPortCount];
    uint32_t lastReportAt[kPortCount];  // tick of the last good report (or capture, return, quiet check)
    uint32_t silenceMs[kPortCount];     // max(kSilenceMs, 10 periods)
    bool waitForSticks;                 // started with /wait
    bool checkPending[2];               // the checks after a device change or resume
    uint32_t checkAt[2];
    uint32_t probeAt;                   // next probe of the free and lost ports
    bool waitingTip;                    // the tip says the program waits for a stick
    bool padTimer;                      // the Xbox controllers' report timer runs
    bool started;                       // the start-up capture has been made
};
extern StickPorts stickPorts;

// Started with /wait, no port holds a stick that answers.
bool WaitingForSticks();

// "/wait" among the words of the command line, in any case.
bool WaitForSticksRequested(const char* commandLine);

// Start-up: each port's record, then its capture at its own period. False
// when no port was captured and the program was not told to wait; the
// message has been shown then.
bool CaptureSticksAtStart(bool waitForSticks);

// Shutdown: releases every capture, in port order.
void ReleaseSticks();

// A report message of the port. A lost stick that reports again returns
// first, so that its first report is read with its own capabilities.
void HandleStickReport(int port);

// WM_DEVICECHANGE and resume: free and lost ports are probed now, and again
// 300 ms and 2 s later.
void CheckSticksSoon();

// WM_TIMER of STICK_WATCH_TIMER_ID.
void HandleStickWatch();

// WM_TIMER of XINPUT_REPORT_TIMER_ID: one report of each port that reads an
// Xbox controller; one that no longer answers is a lost stick.
void HandleXInputReports();

// A configuration was put in place: a port whose source changed lets go of
// its capture and reads the new one from now on, as a free port. Before the
// start-up capture, which reads the sources itself, it does nothing.
void ApplyPortSources();
