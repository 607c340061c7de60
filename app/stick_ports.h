// Which ports hold a captured stick, and what to do when one comes or goes:
// a stick plugged in after the start, one that falls silent or fails its
// reads, one that comes back (perhaps another stick), and a start with none.
#pragma once

#include <cstdint>

#include "app/controller_sources.h"
#include "app/pad_poll.h"
#include "config/mapping_table.h"
#include "engine/engine_state.h"

constexpr uint32_t kStickCheckDelays[2] = {300, 2000};  // ms after a device change or resume
constexpr uint32_t kSilenceMs = 500;         // at least; or 10 capture periods

// What the engine knew of a polled port when it last handled its report.
struct PolledView {
    uint32_t buttons, hats;
    uint32_t threshold[kAxisCount];
    bool operator==(const PolledView&) const = default;
};

enum PortState : uint8_t {
    PORT_FREE,       // nothing opened: probed until a controller answers
    PORT_ANSWERING,  // opened, reporting
    PORT_LOST,       // opened, but silent or failing: let go of, probed until it answers
};

static_assert(kPortCount == 2);

struct StickPorts {
    PortState state[kPortCount];
    // What the port reads now; it follows the running configuration when
    // one is put in place. Until the start, each its joystick of the driver.
    PortSource source[kPortCount] = {{SOURCE_DRIVER, 0}, {SOURCE_DRIVER, 1}};
    // A captured stick that answered a probe after it was lost and has posted
    // no report since: if none comes, the capture is made anew.
    bool returned[kPortCount];
    uint32_t lastReportAt[kPortCount];  // tick of the last good report (or capture, return, quiet check)
    uint32_t silenceMs[kPortCount];     // max(kSilenceMs, 10 periods)
    bool waitForSticks;                 // started with /wait
    bool checkPending[2];               // the checks after a device change or resume
    uint32_t checkAt[2];
    uint32_t probeAt;                   // next probe of the free and lost ports
    bool waitingTip;                    // the tip says the program waits for a stick
    // The tip's text changed (waiting for a stick, or no longer): the shell
    // shows it anew and clears this.
    bool tipChanged;
    bool started;                       // the start-up capture has been made
    bool polling;                       // from the message loop's start to WM_DESTROY
    PolledView polledView[kPortCount];
};
extern StickPorts stickPorts;
// The poll of the ports that answer with a kind the program reads itself.
extern PadPoll padPoll;

// Started with /wait, no port holds a stick that answers.
bool WaitingForSticks();

// "/wait" among the words of the command line, in any case.
bool WaitForSticksRequested(const char* commandLine);

// Start-up, before the window: without a joystick driver ("no game-device
// installed" otherwise) the program runs only when a port of the
// configuration at configPath reads a kind of controller that this system
// has. The file is read quietly; its messages come with the window's load.
bool GameDevicePresent(const char* configPath);

// Start-up: each port's record, then its capture at its own period. False
// when no port was captured and the program was not told to wait; the
// message has been shown then. The tray icon, added after, takes its tip
// from WaitingForSticks.
bool CaptureSticksAtStart(bool waitForSticks);

// Start-up, once the tray icon is there: the ports that the program reads
// itself are read from now on, when the message loop is about to take their
// reports, as a driver's reports wait for it in the queue.
void StartPolling();

// Shutdown: stops the poll, then releases every capture, in port order.
void ReleaseSticks();
// Stops the poll and waits for its tick: before the window goes away.
void StopPolling();

// A report message the joystick driver posted for the port. A lost stick
// that reports again returns first, so that its first report is read with
// its own capabilities.
void HandleStickReport(int port);

// WM_DEVICECHANGE and resume: free and lost ports are probed now, and again
// 300 ms and 2 s later.
void CheckSticksSoon();

// WM_TIMER of STICK_WATCH_TIMER_ID.
void HandleStickWatch();

// WM_PADCHANGED: the newest report the poll posted of each port it reads,
// handled as a driver's report; one that no longer answers is a lost stick,
// let go of at once.
void HandlePolledReports();
// After each message of the main window: a polled port whose held buttons
// the engine let go of, or whose limits changed, since its last report is
// reported again, as a driver's next report would put it right; a pad at
// rest would otherwise send none.
void ReportPolledPortsWhereChanged();

// WM_TIMER of XINPUT_REPORT_TIMER_ID, where the poll has no thread: its tick
// on the main thread.
void PollOnMainThread();

// The running configuration's sources changed: a port whose source changed
// lets go of what it holds and of its capture, and reads the new one from
// now on, as a free port. Before the start-up capture, which reads the
// sources itself, it does nothing.
void ApplyPortSources();
