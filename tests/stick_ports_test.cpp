// Sticks that come and go: arrival, loss and return on the ports, with the
// fake's clock and its driver standing in for time and the joystick driver.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "app/editor/editor_changes.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/pad_poll.h"
#include "app/stick_ports.h"
#include "config/config_file.h"
#include "config/mapping_table.h"
#include "engine/joystick_report.h"
#include "tests/fake_platform.h"

namespace {

bool Send(uint32_t message, uint32_t wParam = 0)
{
    return HandleMainWindowMessage(message, wParam, 0);
}

// Whether the driver goes on reporting a stick whose reads fail.
bool reportsWhileFailing;

// Milliseconds pass: every captured stick that answers reports at its
// period, an unplugged one is skipped (as Wine's capture timer does), the
// main window's timer fires when due, after the reports of that moment, and
// the Xbox controllers' poll ticks every 2 ms, its message handled at once.
void Pass(uint32_t ms)
{
    for (uint32_t i = 0; i < ms; ++i) {
        ++fake.tickCount;
        for (int port = 0; port < kPortCount; ++port) {
            const uint32_t period = fake.capturePeriod[port] != 0 ? fake.capturePeriod[port] : 1;
            const bool answers = fake.posResult[port] == 0 || reportsWhileFailing;
            if (fake.captured[port] && answers && !fake.captureSilent[port] && fake.tickCount % period == 0) {
                Send(port == 0 ? kMmJoy1Move : kMmJoy2Move);
            }
        }
        for (const uint32_t id : {STICK_WATCH_TIMER_ID, XINPUT_REPORT_TIMER_ID}) {
            FakePlatform::Timer& timer = *FakeTimer(id);
            if (!timer.running || timer.due != fake.tickCount) continue;
            timer.due += timer.period;
            Send(kWmTimer, id);
        }
        if (fake.tickCount % kPadPollMs == 0) FakePadTick();
        if (fake.padChangedQueued != 0) {
            fake.padChangedQueued = 0;
            Send(WM_PADCHANGED);
        }
    }
}

JoyCaps Stick(uint32_t min, uint32_t max, uint32_t period, bool hat)
{
    JoyCaps caps = {};
    caps.wXmin = caps.wYmin = min;
    caps.wXmax = caps.wYmax = max;
    caps.wPeriodMin = period;
    caps.wCaps = hat ? 0x10 : 0;  // JOYCAPS_HASPOV
    return caps;
}
const JoyCaps kPad = Stick(0, 65535, 10, true);
const JoyCaps kArrival = Stick(1000, 3000, 20, true);
const JoyCaps kHatless = Stick(1000, 3000, 20, false);

void Hold(int port, uint32_t buttons, uint32_t x, uint32_t pov)
{
    JoyInfoEx& state = fake.state[port];
    state.dwButtons = buttons;
    state.dwXpos = x;
    state.dwYpos = (fake.caps[port].wYmin + fake.caps[port].wYmax) / 2;
    state.dwPOV = pov;
}

// At rest in the middle; a hatless stick's driver leaves 0 in the hat field.
void Plug(int port, const JoyCaps& caps)
{
    fake.caps[port] = caps;
    fake.posResult[port] = 0;
    Hold(port, 0, (caps.wXmin + caps.wXmax) / 2, (caps.wCaps & 0x10) != 0 ? 0xFFFF : 0);
}

void Unplug(int port)
{
    fake.caps[port] = JoyCaps{};
    fake.posResult[port] = 167;  // JOYERR_UNPLUGGED
}

void Start()
{
    ComputeAxisLimits(running.engine, running.config.settings);
    CaptureSticksAtStart(false);
    StartPolling();
}

// Port 0's button 1, X+ and hat up press keys 130, 131 and 132; port 1's 140, 141 and 142.
void BindKeys()
{
    for (int port = 0; port < kPortCount; ++port) {
        const int32_t key = 130 + 10 * port;
        Binding(running.config, port, 0) = ActionRecord{.on = 1, .sendKey = 1, .keyCode = key};
        Binding(running.config, port, SLOT_X_PLUS) = ActionRecord{.on = 1, .sendKey = 1, .keyCode = key + 1};
        Binding(running.config, port, 44) = ActionRecord{.on = 1, .sendKey = 1, .keyCode = key + 2};
    }
}

EventList Tap(uint32_t vk) { return {KeyDown(vk, 0), Slept(1), KeyUp(vk, 0)}; }
const EventList kRightClick = {MouseFlag(RIGHTDOWN), Slept(1), MouseFlag(RIGHTUP)};
const char* const kWaiting = "tip Quellpad 2.5 - waiting for a joystick";

struct Step {
    void (*act)();
    EventList expected;
};

// Port 0 reads Xbox controller 1 (the library there when library is true),
// connected; its triggers hold the right and the left button.
void ReadXboxController(bool library)
{
    fake.xinputLibrary = library;
    fake.padConnected[0] = true;
    running.config.portSource[0] = 1;
    running.config.settings.continuous = 1;
    Binding(running.config, 0, SLOT_Z_PLUS) = ActionRecord{.on = 1, .sendMouse = 1, .mouseAction = 8};
    Binding(running.config, 0, SLOT_V_PLUS) = ActionRecord{.on = 1, .sendMouse = 1, .mouseAction = 4};
    Binding(running.config, 0, 10) = ActionRecord{.on = 1, .sendKey = 1, .keyCode = 150};  // guide
    Binding(running.config, 0, SLOT_X_PLUS) = ActionRecord{};  // continuous would let go of it at rest
}

struct PortsCase {
    const char* name;
    bool pad0;       // a pad on port 0 at start; port 1 is empty
    bool logDriver;  // probes and capability reads in the log
    std::vector<Step> steps;
};

TEST(StickPorts, ArrivalLossAndReturn)
{
    const PortsCase cases[] = {
        {"/wait with no stick: both ports probed every 2 s, a stick captured at its own period, lost again",
         false, true,
         // The icon, added after, takes the waiting tip with it.
         {{[] { EXPECT_TRUE(CaptureSticksAtStart(true)); EXPECT_TRUE(WaitingForSticks()); },
           {::Shell("caps 0"), ::Shell("capture 0 at 0"), ::Shell("caps 1"), ::Shell("capture 1 at 0")}},
          {[] { Pass(1999); }, {}},
          {[] { Pass(1); }, {::Shell("read 0"), ::Shell("read 1")}},
          {[] { Plug(1, kHatless); Pass(2000); },
           {::Shell("read 0"), ::Shell("read 1"), ::Shell("caps 1"), ::Shell("capture 1 at 20"),
            ::Shell("tip Quellpad 2.5")}},
          {[] { Unplug(1); Pass(500); }, {::Shell("read 1"), ::Shell(kWaiting)}}}},
        {"without /wait no stick ends the program", false, true,
         {{[] { EXPECT_FALSE(CaptureSticksAtStart(false)); EXPECT_FALSE(FakeTimer(STICK_WATCH_TIMER_ID)->running); },
           {::Shell("caps 0"), ::Shell("capture 0 at 0"), ::Shell("caps 1"), ::Shell("capture 1 at 0"),
            Message("ERROR!", "could not capture game-device")}}}},
        {"a device change or a resume probes now, 300 ms and 2 s later", false, true,
         {{[] { CaptureSticksAtStart(true); ClearEvents(); Pass(500); Send(kWmDeviceChange, 7); },
           {::Shell("read 0"), ::Shell("read 1")}},
          {[] { Pass(299); }, {}},
          {[] { Pass(1); }, {::Shell("read 0"), ::Shell("read 1")}},
          {[] { Pass(1699); }, {}},
          {[] { Pass(1); }, {::Shell("read 0"), ::Shell("read 1")}},
          {[] { Send(kWmPowerBroadcast, 4); }, {}},  // PBT_APMSUSPEND
          {[] { Send(kWmPowerBroadcast, kPbtApmResumeAutomatic); }, {::Shell("read 0"), ::Shell("read 1")}},
          {[] { Send(kWmPowerBroadcast, kPbtApmResumeSuspend); }, {::Shell("read 0"), ::Shell("read 1")}}}},
        {"an arrived stick fires its button, an axis end by its own ranges and its hat", true, false,
         {{Start, {::Shell("capture 0 at 10"), ::Shell("capture 1 at 0")}},
          {[] { Plug(1, kArrival); Send(kWmDeviceChange, 7); }, {::Shell("capture 1 at 20")}},
          {[] { Hold(1, 1, 2000, 0xFFFF); Pass(20); }, {KeyDown(140, 0)}},
          {[] { Hold(1, 1, 3000, 0xFFFF); Pass(40); }, Tap(141)},
          {[] { Hold(1, 1, 2000, 0); Pass(20); }, {KeyDown(142, 0)}}}},
        {"a silent stick is let go of after 500 ms; back as a hatless stick, read by its own record", true, false,
         {{[] { Start(); Hold(0, 1, 32767, 0); Pass(10); },
           {::Shell("capture 0 at 10"), ::Shell("capture 1 at 0"), KeyDown(130, 0), KeyDown(132, 0)}},
          {[] { Unplug(0); Pass(499); }, {}},
          {[] { Pass(1); }, {KeyUp(132, 0), KeyUp(130, 0)}},
          {[] { Plug(0, kHatless); Pass(10); }, {}},
          {[] { Hold(0, 0, 3000, 0); Pass(20); }, Tap(131)},
          {ReleaseSticks, {::Shell("release 0")}}}},
        {"a stick whose reads keep failing is lost after its silence; what answers then is read by its own record",
         true, false,
         {{[] { Start(); Hold(0, 1, 32767, 0xFFFF); Pass(10); },
           {::Shell("capture 0 at 10"), ::Shell("capture 1 at 0"), KeyDown(130, 0)}},
          {[] { reportsWhileFailing = true; Unplug(0); Pass(600); }, {KeyUp(130, 0)}},
          {[] { Plug(0, kHatless); Pass(10); }, {}}}},
        {"a stick back whose capture delivers nothing is captured anew", true, true,
         {{[] { Start(); ClearEvents(); Unplug(0); Pass(500); }, {::Shell("read 0")}},
          {[] { Plug(0, kPad); fake.captureSilent[0] = true; Pass(1500); },
           {::Shell("read 0"), ::Shell("caps 0"), ::Shell("read 1")}},
          {[] { Pass(500); }, {::Shell("read 0"), ::Shell("release 0"), ::Shell("caps 0"), ::Shell("capture 0 at 10")}},
          {[] { Pass(10); }, {::Shell("read 0")}}}},
        {"an Xbox controller reads through XInput, both triggers at once; a disconnect lets go; back a second later",
         false, false,
         {{[] { ReadXboxController(true); Start(); Pass(10); }, {::Shell("capture 1 at 0")}},
          {[] { fake.pads[0] = {kPadGuide, 255, 255}; Pass(20); },
           {KeyDown(150, 0), MouseFlag(RIGHTDOWN), MouseFlag(LEFTDOWN)}},
          {[] { fake.padConnected[0] = false; Pass(10); }, {MouseFlag(LEFTUP), MouseFlag(RIGHTUP), KeyUp(150, 0)}},
          {[] { fake.padConnected[0] = true; fake.pads[0] = {kPadA}; Pass(990); }, {}},
          {[] { Pass(10); }, {KeyDown(130, 0)}}}},
        {"an Xbox poll: a pad at rest posts nothing, a change one message; a held end repeats every 10 ms; a "
         "disconnect lets go within one poll and ends the poll",
         false, false,
         {{[] { ReadXboxController(true); running.config.settings.continuous = 0; Start(); Pass(20); },
           {::Shell("capture 1 at 0")}},
          {[] { fake.padChangedPosts = 0; Pass(1000); EXPECT_EQ(fake.padChangedPosts, 0u); }, {}},
          {[] { fake.pads[0].wButtons = kPadGuide; Pass(2); EXPECT_EQ(fake.padChangedPosts, 1u); },
           {KeyDown(150, 0)}},
          // A tap while the main thread is busy: the release waits for the press to be handled.
          {[] {
               fake.pads[0].wButtons = kPadGuide | kPadA;
               FakePadTick();
               fake.pads[0].wButtons = kPadGuide;
               FakePadTick();
               Pass(2);
           },
           {KeyDown(130, 0), KeyUp(130, 0)}},
          // New bindings let go of the held guide button: a report within the period presses it again.
          {[] { Send(WM_RELOADCONFIG); Pass(10); },
           {Message("error", "config file could not be opened\nplease configure first"), KeyUp(150, 0),
            KeyDown(150, 0)}},
          {[] { fake.pads[0].bLeftTrigger = 255; Pass(32); EXPECT_EQ(fake.padChangedPosts, 8u); },
           Seq(kRightClick, kRightClick, kRightClick)},
          {[] { fake.padConnected[0] = false; Pass(2); EXPECT_FALSE(fake.padTimer.running); },
           {KeyUp(150, 0)}}}},
        {"the poll stops at a source change and at exit; without its timer the main window's reads",
         false, false,
         {{[] {
               ReadXboxController(true);
               Start();
               running.config.portSource[0] = 0;
               ApplyPortSources();
               EXPECT_EQ(fake.padTimer.stops, 1u);
               running.config.portSource[0] = 1;
               ApplyPortSources();
               Send(kWmDestroy);
               EXPECT_EQ(fake.padTimer.stops, 2u);
               EXPECT_FALSE(fake.padTimer.running);
           },
           {::Shell("capture 1 at 0"), ::Shell("quit")}},
          {[] {
               ResetProgramState();
               ReadXboxController(true);
               fake.padTimer.fails = true;
               fake.pads[0].wButtons = kPadGuide;
               Start();
               Pass(10);
               EXPECT_TRUE(FakeTimer(XINPUT_REPORT_TIMER_ID)->running);
           },
           {::Shell("capture 1 at 0"), KeyDown(150, 0)}}}},
        {"a pad back with A held presses once; its port never reaches the joystick driver", false, true,
         {{[] {
               ReadXboxController(true);
               running.config.settings.continuous = 0;
               Start();
               fake.pads[0] = {kPadA};
               Pass(10);
           },
           {::Shell("caps 0"), ::Shell("caps 1"), ::Shell("caps 1"), ::Shell("capture 1 at 0"), KeyDown(130, 0)}},
          {[] { fake.padConnected[0] = false; Pass(10); }, {KeyUp(130, 0)}},
          {[] { fake.padConnected[0] = true; Pass(4000); ReleaseSticks(); },
           {::Shell("read 1"), KeyDown(130, 0), ::Shell("read 1"), ::Shell("read 1")}}}},
        {"no joystick driver: a port reading an Xbox controller is enough to start; none, and the program ends",
         false, false,
         {{[] {
               fake.noJoystickDriver = fake.xinputLibrary = true;
               Configuration pads{};
               pads.portSource[1] = 4;
               SaveConfig("C:\\Tools\\quellpad.CFG", pads);
               EXPECT_TRUE(GameDevicePresent("C:\\Tools\\quellpad.CFG"));
               SaveConfig("C:\\Tools\\quellpad.CFG", Configuration{});
               EXPECT_FALSE(GameDevicePresent("C:\\Tools\\quellpad.CFG"));
           },
           {Message("ERROR!", "no game-device installed")}}}},
        {"a source chosen on the Controllers page with a button held: let go once, for good; Cancel moves back",
         true, false,
         {{[] { Start(); Hold(0, 1, 32767, 0xFFFF); Pass(10); },
           {::Shell("capture 0 at 10"), ::Shell("capture 1 at 0"), KeyDown(130, 0)}},
          {[] {
               fake.xinputLibrary = true;
               fake.whileModal = [] { StoreShownSource(0, 1); Pass(40); };
               Send(kWmCommand, IDM_CONFIG);
               Pass(10);
           },
           {::Shell("sheet"), KeyUp(130, 0), ::Shell("release 0"),
            Message("error", "config file could not be opened\nplease configure first"), ::Shell("capture 0 at 10"),
            KeyDown(130, 0)}}}},
        {"OK whose save fails: the edits run on, the port on its new source", true, false,
         {{[] {
               Start();
               fake.xinputLibrary = fake.padConnected[0] = true;
               fake.pads[0] = {kPadA};
               fake.failCreate = true;
               fake.sheetResult = 1;
               fake.whileModal = [] { StoreShownSource(0, 1); };
               Send(kWmCommand, IDM_CONFIG);
               Pass(10);
           },
           {::Shell("capture 0 at 10"), ::Shell("capture 1 at 0"), ::Shell("sheet"), ::Shell("release 0"),
            Message("error", "file could not be created"), KeyDown(130, 0)}}}},
        {"a port set to an Xbox controller without an XInput library reads nothing", false, false,
         {{[] { ReadXboxController(false); EXPECT_FALSE(CaptureSticksAtStart(false)); },
           {::Shell("capture 1 at 0"), Message("ERROR!", "could not capture game-device")}}}},
        {"one failed read among good ones: let go and pressed again, nothing released or captured", true, false,
         {{[] { running.config.settings.continuous = 1; Start(); Hold(0, 0, 65535, 0xFFFF); Pass(20); },
           {::Shell("capture 0 at 10"), ::Shell("capture 1 at 0"), KeyDown(131, 0)}},
          {[] { fake.posResult[0] = 167; Send(kMmJoy1Move); fake.posResult[0] = 0; Pass(10); },
           {KeyUp(131, 0), KeyDown(131, 0)}},
          {[] { running.config.settings.continuous = 0; Hold(0, 0, 32767, 0xFFFF); Pass(1000); }, {}}}},
    };
    for (const PortsCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        reportsWhileFailing = false;
        BindKeys();
        Unplug(0);
        Unplug(1);
        if (c.pad0) Plug(0, kPad);
        fake.logDriver = c.logDriver;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << i + 1 << " at " << fake.tickCount << " ms");
            c.steps[i].act();
            EXPECT_EQ(Events(), c.steps[i].expected);
            ClearEvents();
        }
    }
}

TEST(StickPorts, WaitIsAWordOfTheCommandLine)
{
    const struct {
        const char* commandLine;
        bool wait;
    } cases[] = {{"", false}, {"/wait", true}, {"/WAIT", true}, {"  x\t/Wait y", true},
                 {"/waiting", false}, {"-wait", false}, {"x/wait", false}};
    for (const auto& c : cases) EXPECT_EQ(WaitForSticksRequested(c.commandLine), c.wait) << c.commandLine;
}

// The poll thread publishes while the main thread takes: every take is one
// whole read, never the half of one and the half of the next.
TEST(StickPorts, AnXboxReadIsNeverTakenHalfWritten)
{
    LatestRead latest;
    constexpr uint32_t kWrites = 200000;
    std::thread poll([&latest] {
        for (uint32_t k = 1; k <= kWrites; ++k) {
            PolledRead read = {1, {}};
            for (uint32_t* word = &read.report.dwSize; word <= &read.report.dwReserved2; ++word) *word = k;
            PublishRead(latest, read);
        }
    });
    uint32_t torn = 0, takes = 0, lastSequence = 0;
    bool backwards = false;
    for (PolledRead read{}; read.report.dwButtons != kWrites; ++takes) {
        const uint32_t sequence = LoadRead(latest, read);
        for (const uint32_t* word = &read.report.dwSize; word <= &read.report.dwReserved2; ++word) {
            if (*word != read.report.dwButtons) ++torn;
        }
        backwards = backwards || sequence < lastSequence;
        lastSequence = sequence;
    }
    poll.join();
    EXPECT_EQ(torn, 0u) << "of " << takes << " takes";
    EXPECT_FALSE(backwards);
}

}  // namespace
