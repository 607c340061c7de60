// The hidden window's side of the program: which message does what, the tray
// menus and their commands, and letting go of everything on the way out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/editor/editor_changes.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/stick_ports.h"
#include "app/tray_request.h"
#include "config/config_file.h"
#include "config/config_path.h"
#include "engine/held_input.h"
#include "engine/input_injection.h"
#include "engine/joystick_report.h"
#include "platform/file_dialogs.h"
#include "tests/fake_platform.h"

namespace {

class Shell : public testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
};

bool Send(uint32_t message, uint32_t wParam = 0, uint32_t lParam = 0)
{
    return HandleMainWindowMessage(message, wParam, lParam);
}

TEST_F(Shell, PressesOnTheIconAskForTheirMenu)
{
    const struct {
        uint32_t iconId, mouseMessage;
        const char* expected;  // nullptr: nothing
    } cases[] = {
        {2000, 0x201, "post 1027"},  // left press: Load/Save as/Config
        {2000, 0x203, "post 1027"},  // left double click: one more request
        {2000, 0x204, "post 1026"},  // right press: About/Exit
        {2000, 0x202, nullptr},      // left release
        {2000, 0x205, nullptr},      // right release
        {2000, 0x200, nullptr},      // pointer moves over the icon
        {2000, 0x207, nullptr},      // middle press
        {1999, 0x201, nullptr},      // someone else's icon
        {0x7D0 | 0xABCD0000u, 0x201 | 0x00420000u, "post 1027"},  // only the low words count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.iconId << " " << c.mouseMessage);
        ClearEvents();
        EXPECT_TRUE(Send(WM_TRAYNOTIFY, c.iconId, c.mouseMessage));
        if (c.expected == nullptr) {
            EXPECT_TRUE(Events().empty());
        } else {
            EXPECT_EQ(Events(), EventList{::Shell(c.expected)});
        }
    }
}

TEST_F(Shell, EachMenuIsBuiltWithItsItemsInOrder)
{
    Send(WM_SHOWMAINMENU);
    Send(WM_SHOWCONFIGMENU);
    EXPECT_EQ(Events(), (EventList{::Shell("menu &About...=101|Start with Windows=103|&Exit=100"), ::Shell("menu Load ...=1000|Save as ...=1001|Config ...=102")}));
}

TEST_F(Shell, CommandsDoWhatTheirItemSays)
{
    const struct {
        const char* name;
        uint32_t command;
        int sheetResult;
        EventList expected;
    } cases[] = {
        {"exit", IDM_EXIT, 0, {::Shell("destroy")}},
        {"config closed with OK reloads", IDM_CONFIG, 1, {::Shell("sheet"), ::Shell("send 1024")}},
        {"config cancelled reads the file again, here none", IDM_CONFIG, 0, {::Shell("sheet"), Message("error", "config file could not be opened\nplease configure first")}},
        {"config failing reads it again too", IDM_CONFIG, -1, {::Shell("sheet"), Message("error", "config file could not be opened\nplease configure first")}},
        {"an unknown command does nothing", 4711, 0, {}},
        {"the notification code is not looked at", IDM_EXIT | 0x10000u, 0, {::Shell("destroy")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        fake.sheetResult = c.sheetResult;
        EXPECT_TRUE(Send(kWmCommand, c.command));
        EXPECT_EQ(Events(), c.expected);
    }
}

TEST_F(Shell, AboutShowsFourLinesUnderItsCaption)
{
    Send(kWmCommand, IDM_ABOUT);
    const EventList events = Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Message);
    const std::string text = events[0].text;
    EXPECT_EQ(text.rfind(" About...|Quellpad 2.5", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST_F(Shell, StartWithWindowsIsTickedWhenTheRunValueStartsThisExecutable)
{
    const char* const kWrite = "run-key write Quellpad=\"C:\\Tools\\quellpad.exe\" /wait";
    const char* const kDelete = "run-key delete Quellpad";
    const struct {
        const char* value;  // nullptr: none
        bool ticked;
    } cases[] = {
        {nullptr, false},
        {"\"C:\\Tools\\quellpad.exe\" /wait", true},
        {"  c:\\TOOLS\\Quellpad.EXE", true},  // unquoted, another case, no argument
        {"C:\\Tools\\quellpad.exe /minimized", true},
        {"\"D:\\quellpad.exe\" /wait", false},  // another copy
        {"C:\\Tools\\quellpad.exe2", false},
        {"\"C:\\Tools\\quellpad.exe", false},  // no closing quote
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value != nullptr ? c.value : "no value");
        ResetProgramState();
        Send(kWmCreate);  // nothing is read or written at start
        CaptureSticksAtStart(true);
        EXPECT_EQ(fake.runKeyReads, 0u);
        fake.runValueExists = c.value != nullptr;
        if (c.value != nullptr) std::strcpy(fake.runValue, c.value);
        ClearEvents();
        Send(WM_SHOWMAINMENU);
        Send(kWmCommand, IDM_STARTWITHWINDOWS);
        const std::string item = c.ticked ? "Start with Windows=103 ticked" : "Start with Windows=103";
        EXPECT_EQ(Events(), (EventList{::Shell(("menu &About...=101|" + item + "|&Exit=100").c_str()),
                                       ::Shell(c.ticked ? kDelete : kWrite)}));
        // Chosen again, the item undoes what it did.
        ClearEvents();
        Send(kWmCommand, IDM_STARTWITHWINDOWS);
        EXPECT_EQ(Events(), EventList{::Shell(c.ticked ? kWrite : kDelete)});
    }
}

TEST_F(Shell, LoadMakesTheChosenFileCurrentAndReloads)
{
    std::strcpy(running.configPath, "C:\\Tools\\quellpad.CFG");
    fake.dialogConfirms = false;
    Send(kWmCommand, IDM_LOAD);
    EXPECT_EQ(Events(), EventList{::Shell("open-dialog")});
    EXPECT_STREQ(running.configPath, "C:\\Tools\\quellpad.CFG");

    ClearEvents();
    fake.dialogConfirms = true;
    std::strcpy(fake.dialogPath, "D:\\pads\\racing.cfg");
    Send(kWmCommand, IDM_LOAD);
    EXPECT_EQ(Events(), (EventList{::Shell("open-dialog"), ::Shell("send 1024")}));
    EXPECT_STREQ(running.configPath, "D:\\pads\\racing.cfg");
}

TEST_F(Shell, SaveAsWritesTheChosenFileWithoutReloading)
{
    std::strcpy(running.configPath, "C:\\Tools\\quellpad.CFG");
    running.config.MappingTable[1][43].on = 1;
    running.config.settings.delay = 7;
    fake.dialogConfirms = false;
    Send(kWmCommand, IDM_SAVEAS);
    EXPECT_EQ(Events(), EventList{::Shell("save-dialog")});
    EXPECT_STREQ(running.configPath, "C:\\Tools\\quellpad.CFG");
    EXPECT_EQ(FindFakeFile("C:\\Tools\\quellpad.CFG"), nullptr);

    ClearEvents();
    fake.dialogConfirms = true;
    std::strcpy(fake.dialogPath, "D:\\pads\\mine");  // typed without extension
    Send(kWmCommand, IDM_SAVEAS);
    EXPECT_EQ(Events(), EventList{::Shell("save-dialog")});
    EXPECT_STREQ(running.configPath, "D:\\pads\\mine");
    const std::vector<uint8_t> bytes = FakeFileBytes("D:\\pads\\mine");
    ASSERT_EQ(bytes.size(), kConfigFileSize);
    EXPECT_EQ(bytes[3344 + 43 * 76], 1);
    EXPECT_EQ(bytes[6704], 7);
}

// What the test does from inside an open editor or menu.
void RequestEverything()
{
    Send(WM_SHOWMAINMENU);
    Send(WM_SHOWCONFIGMENU);
    Send(kWmCommand, IDM_CONFIG);
    Send(kWmCommand, IDM_EXIT);
    Send(kWmCommand, IDM_LOAD);
    Send(WM_TRAYNOTIFY, TRAY_ICON_ID, 0x204);  // still posts; the menu it asks for is refused
}

TEST_F(Shell, NothingElseOpensOrExitsWhileAModalLoopRuns)
{
    const struct {
        const char* name;
        uint32_t message, wParam;
        EventList expected;
    } cases[] = {
        {"editor", kWmCommand, IDM_CONFIG, {::Shell("sheet"), ::Shell("post 1026"), Message("error", "config file could not be opened\nplease configure first")}},
        {"menu", WM_SHOWMAINMENU, 0, {::Shell("menu &About...=101|Start with Windows=103|&Exit=100"), ::Shell("post 1026")}},
        {"open dialog", kWmCommand, IDM_LOAD, {::Shell("open-dialog"), ::Shell("post 1026")}},
        {"save dialog", kWmCommand, IDM_SAVEAS, {::Shell("save-dialog"), ::Shell("post 1026")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        fake.whileModal = RequestEverything;
        Send(c.message, c.wParam);
        EXPECT_EQ(Events(), c.expected);
        EXPECT_FALSE(ModalOpen());
    }
    // Once it has closed, Exit works again.
    ResetProgramState();
    Send(kWmCommand, IDM_EXIT);
    EXPECT_EQ(Events(), EventList{::Shell("destroy")});
}

TEST_F(Shell, JoystickMessagesReadTheirOwnPort)
{
    const struct {
        uint32_t message;
        uint32_t reads0, reads1;
    } cases[] = {
        {kMmJoy1Move, 1, 0},       {kMmJoy1ButtonDown, 1, 0}, {kMmJoy1ButtonUp, 1, 0},
        {kMmJoy2Move, 0, 1},       {kMmJoy2ButtonDown, 0, 1}, {kMmJoy2ButtonUp, 0, 1},
        {0x3A2, 0, 0},  // MM_JOY1ZMOVE: the next move reads Z anyway
        {0x3A3, 0, 0},  // MM_JOY2ZMOVE
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        ResetProgramState();
        EXPECT_TRUE(Send(c.message, 0xFFFF, 0xFFFFFFFF));
        EXPECT_EQ(fake.posReads[0], c.reads0);
        EXPECT_EQ(fake.posReads[1], c.reads1);
    }
}

TEST_F(Shell, CreationLoadsTheDefaultFileAndOnlyAShortFileSkipsDefaultProcessing)
{
    fake.caps[0].wXmax = 100;
    EXPECT_TRUE(Send(kWmCreate));
    EXPECT_STREQ(running.configPath, "C:\\Tools\\quellpad.CFG");
    EXPECT_EQ(Events(), EventList{Message("error", "config file could not be opened\nplease configure first")});
    EXPECT_EQ(running.engine.axisLimits.threshold[0][0], 20u);

    PutFakeFile("C:\\Tools\\quellpad.CFG", std::vector<uint8_t>(100, 1));
    EXPECT_FALSE(Send(WM_RELOADCONFIG));
    PutFakeFile("C:\\Tools\\quellpad.CFG", std::vector<uint8_t>(kConfigFileSize, 0));
    EXPECT_TRUE(Send(WM_RELOADCONFIG));
}

TEST_F(Shell, ARestartedTaskbarGetsTheIconBack)
{
    taskbarCreatedMessage = 0xC123;
    EXPECT_TRUE(Send(0xC123));
    EXPECT_TRUE(Send(0xC124));
    EXPECT_EQ(Events(), EventList{::Shell("tray-add")});
    taskbarCreatedMessage = 0;
    ClearEvents();
    EXPECT_TRUE(Send(0));  // an unregistered message number is no taskbar restart
    EXPECT_TRUE(Events().empty());
}

// A button held with continuous bindings, both axes pushed to an end and a
// toggle-locked left button: everything must be let go on the way out.
void HoldEverything()
{
    fake.caps[0].wXmax = fake.caps[0].wYmax = 65535;
    ComputeAxisLimits(running.engine, running.config.settings);
    running.config.settings.continuous = 1;
    running.config.settings.toggleLock = 1;
    ActionRecord& button = running.config.MappingTable[0][2];
    button.on = button.alt = button.sendKey = 1;
    button.keyCode = 39;
    ActionRecord& stick = running.config.MappingTable[0][SLOT_X_PLUS];
    stick.on = stick.sendKey = 1;
    stick.keyCode = 96;
    ActionRecord& click = running.config.MappingTable[0][5];
    click.on = click.sendMouse = 1;
    click.mouseAction = MOUSE_LEFT_CLICK;

    fake.state[0].dwXpos = 65535;
    fake.state[0].dwYpos = 32767;
    fake.state[0].dwButtons = 1u << 5;
    ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);  // toggle: up at the press
    fake.state[0].dwButtons = 0;
    ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);  // and down at the release: now held
    fake.state[0].dwButtons = 1u << 2;
    ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);  // button 3 and X+ pressed and held
    ClearEvents();
}

TEST_F(Shell, EveryWayOutLetsGoOfWhatTheBindingsHold)
{
    // Last down first, each with the scan code it went down with.
    const EventList released = {
        KeyUp(96, 0),       // X+ held at its end
        KeyUp(39, 0),       // button 3's key
        KeyUp(18, 56),      // and its Alt
        MouseFlag(LEFTUP),  // the toggle-locked left button
    };
    const struct {
        const char* name;
        uint32_t message, wParam;
        EventList after;
    } cases[] = {
        {"window destroyed by Exit or a failed start", kWmDestroy, 0, {::Shell("quit")}},
        {"Windows ends the session", kWmEndSession, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        HoldEverything();
        Send(c.message, c.wParam);
        EventList expected = released;
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(Events(), expected);
    }
    // A session end that was cancelled changes nothing.
    ResetProgramState();
    HoldEverything();
    Send(kWmEndSession, 0);
    EXPECT_TRUE(Events().empty());
}

TEST_F(Shell, APlainClickLeavesNothingToReleaseAtExit)
{
    // Without the lock the toggle state still flips at each press; that
    // must not turn into a button-up at exit for a button nobody holds.
    ActionRecord& click = running.config.MappingTable[1][0];
    click.on = click.sendMouse = 1;
    click.mouseAction = MOUSE_RIGHT_CLICK;
    fake.state[1].dwButtons = 1;
    ProcessJoystickReport(running.engine, running.config, 1, fake.tickCount);
    fake.state[1].dwButtons = 0;
    ProcessJoystickReport(running.engine, running.config, 1, fake.tickCount);
    ASSERT_EQ(Events(), (EventList{MouseFlag(RIGHTDOWN), MouseFlag(RIGHTUP)}));
    ASSERT_EQ(running.engine.buttonToggle.right, 1);
    ClearEvents();
    Send(kWmDestroy);
    EXPECT_EQ(Events(), EventList{::Shell("quit")});
}

// --- letting go: hold something, do X, see exactly these events -------------

void Bind(int port, int slot, ActionRecord record)
{
    record.on = 1;
    running.config.MappingTable[port][slot] = record;
}
const ActionRecord kShiftRight = {.shift = 1, .sendKey = 1, .keyCode = 39};
const ActionRecord kNumpad0 = {.sendKey = 1, .keyCode = 96};
const ActionRecord kLeftClick = {.sendMouse = 1, .mouseAction = MOUSE_LEFT_CLICK};
const EventList kShiftRightUp = {KeyUp(39, 0), KeyUp(16, 42)};  // last down first

void Buttons(int port, uint32_t mask)
{
    fake.state[port].dwButtons = mask;
    ProcessJoystickReport(running.engine, running.config, port, fake.tickCount);
}

// The configuration file changed by edit, then reloaded; the live state is
// what it was until the reload reads the file.
void ReloadChanged(void (*edit)())
{
    const Settings before = running.config.settings;
    ActionRecord table[kPortCount][kSlotCount];
    std::memcpy(table, running.config.MappingTable, sizeof table);
    edit();
    SaveRunningConfig();
    running.config.settings = before;
    std::memcpy(running.config.MappingTable, table, sizeof table);
    Send(WM_RELOADCONFIG);
}

struct LetGoCase {
    const char* name;
    void (*holdThenAct)();
    EventList expected;  // from the first event after the hold
};

TEST_F(Shell, LettingGoSendsTheUpsOfExactlyWhatIsHeld)
{
    const LetGoCase cases[] = {
        {"exit", [] { Send(kWmDestroy); }, Seq(kShiftRightUp, ::Shell("quit"))},
        {"session end", [] { Send(kWmEndSession, 1); }, kShiftRightUp},
        {"a reload that unbinds the held button, then its release and exit",
         [] {
             ReloadChanged([] { running.config.MappingTable[0][0] = {}; });
             Buttons(0, 0);
             Send(kWmDestroy);
         },
         Seq(kShiftRightUp, ::Shell("quit"))},
        {"a reload that rebinds it: the held button presses the new binding",
         [] {
             ReloadChanged([] { Bind(0, 0, kNumpad0); });
             Buttons(0, 1);
             Buttons(0, 0);
         },
         Seq(kShiftRightUp, KeyDown(96, 0), KeyUp(96, 0))},
        {"a reload that switches the toggle lock off lets go of the button it holds",
         [] {
             Bind(0, 1, kLeftClick);
             running.config.settings.toggleLock = 1;
             Buttons(0, 1 | 2);
             Buttons(0, 1);  // the lock now holds the left button down
             ReloadChanged([] { running.config.settings.toggleLock = 0; });
         },
         {MouseFlag(LEFTUP), MouseFlag(LEFTDOWN), MouseFlag(LEFTUP), KeyUp(39, 0), KeyUp(16, 42)}},
        {"a reload that switches it on while a plain click is held",
         [] {
             Bind(0, 1, kLeftClick);
             Buttons(0, 1 | 2);
             ReloadChanged([] { running.config.settings.toggleLock = 1; });
             Buttons(0, 0);
             Send(kWmDestroy);
         },
         {MouseFlag(LEFTDOWN), MouseFlag(LEFTUP), KeyUp(39, 0), KeyUp(16, 42), ::Shell("quit")}},
        {"a page storing a changed record lets go of its slot alone",
         [] {
             Bind(0, 1, kNumpad0);
             Buttons(0, 1 | 2);
             StoreShownActionPage(0, ReadActionRecord(running.config.MappingTable[0][0]));  // unchanged: nothing
             StoreShownActionPage(0, ActionPageState{});
             Buttons(0, 2);
         },
         Seq(KeyDown(96, 0), kShiftRightUp)},
        {"a layer's page: looked at, nothing; bound, the slot lets go and the base stays",
         [] {
             selectedLayer = 3;
             ActionPageState page = ReadActionRecord(running.config.layers[2][0][0]);
             page.keyCode = -1;
             StoreShownActionPage(0, page);
             EXPECT_EQ(running.config.layers[2][0][0].keyCode, 0);
             page.on = true;
             StoreShownActionPage(0, page);
             EXPECT_EQ(running.config.layers[2][0][0].on, 1);
             EXPECT_EQ(running.config.MappingTable[0][0].keyCode, 39);
         },
         kShiftRightUp},
        {"a behaviour stored unchanged does nothing; changed in layer 2, it lets go of the slot",
         [] {
             selectedLayer = 2;
             StoreShownBehaviour(0, ReadBehaviour({}));
             StoreShownBehaviour(0, {LAYER_TOGGLE, 5, "0"});
             EXPECT_EQ(running.config.behaviour[2][0][0].layerTarget, 5);
             EXPECT_EQ(running.config.behaviour[0][0][0].layerAction, 0);
         },
         kShiftRightUp},
        {"the other port's stick lost: Shift, held by both, stays down",
         [] {
             Bind(1, 0, {.shift = 1, .sendKey = 1, .keyCode = 96});
             Buttons(1, 1);
             fake.posResult[1] = 167;  // JOYERR_UNPLUGGED
             ProcessJoystickReport(running.engine, running.config, 1, fake.tickCount);
             Send(kWmDestroy);
         },
         {KeyDown(16, 42), KeyDown(96, 0), KeyUp(96, 0), KeyUp(16, 42), KeyUp(39, 0), ::Shell("quit")}},
        {"continuous 2 at exit",
         [] {
             running.config.settings.continuous = 2;
             Bind(0, SLOT_X_PLUS, kNumpad0);
             fake.state[0].dwXpos = 65535;
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
             Send(kWmDestroy);
         },
         {KeyDown(96, 0), KeyUp(96, 0), KeyUp(39, 0), KeyUp(16, 42), ::Shell("quit")}},
        {"a port set to another source on the Controllers page lets go of what it holds; set again, nothing",
         [] {
             StoreShownSource(0, 1);
             StoreShownSource(0, 1);
         },
         kShiftRightUp},
        {"the toggle lock switched on the common page lets go of the mouse buttons alone",
         [] {
             Bind(0, 1, kLeftClick);
             Buttons(0, 1 | 2);
             FlipCommonOption(IDC_TOGGLE_LOCK);
         },
         {MouseFlag(LEFTDOWN), MouseFlag(LEFTUP)}},
        {"a file swapped for a damaged one: presses during the reload's box act on what ran, then all is let go",
         [] {
             Bind(0, 1, kNumpad0);
             PutFakeFile("C:\\Tools\\quellpad.CFG", std::vector<uint8_t>(3000, 1));
             fake.whileMessageBox = [] { Buttons(0, 1 | 2); };
             Send(WM_RELOADCONFIG);
             fake.whileMessageBox = nullptr;
             Buttons(0, 0);
         },
         {Message("error", "error reading file\nplease configure first"), KeyDown(96, 0), KeyUp(96, 0), KeyUp(39, 0),
          KeyUp(16, 42)}},
        {"continuous unticked on the common page lets go of the axis end it held, not the button",
         [] {
             running.config.settings.continuous = 1;
             Bind(0, SLOT_X_PLUS, kNumpad0);
             fake.state[0].dwXpos = 65535;
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
             FlipCommonOption(IDC_CONTINUOUS);
             fake.state[0].dwXpos = 32767;
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
         },
         {KeyDown(96, 0), KeyDown(96, 0), KeyUp(96, 0)}},
        {"a delay of 2147483647 waits 1000 ms",
         [] {
             running.config.settings.delay = INT32_MAX;
             Bind(0, SLOT_X_PLUS, kNumpad0);
             fake.state[0].dwXpos = 65535;
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
             ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
         },
         {KeyDown(96, 0), Slept(1000), KeyUp(96, 0)}},
    };
    for (const LetGoCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        std::strcpy(running.configPath, "C:\\Tools\\quellpad.CFG");
        fake.caps[0].wXmax = fake.caps[0].wYmax = 65535;
        fake.state[0].dwXpos = fake.state[0].dwYpos = 32767;
        ComputeAxisLimits(running.engine, running.config.settings);
        ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);  // at rest: positions known
        Bind(0, 0, kShiftRight);
        Buttons(0, 1);
        ASSERT_EQ(Events(), (EventList{KeyDown(16, 42), KeyDown(39, 0)}));
        ClearEvents();
        c.holdThenAct();
        EXPECT_EQ(Events(), c.expected);
    }
}

TEST_F(Shell, AReloadWithNothingHeldKeepsTheEnginesMemory)
{
    fake.caps[0].wXmax = 65535;
    ComputeAxisLimits(running.engine, running.config.settings);
    Bind(0, 3, kLeftClick);
    fake.state[0].dwXpos = 60000;
    Buttons(0, 8 | 16);  // a plain click pressed and let go flips the toggle
    Buttons(0, 16);
    ClearEvents();
    // All but the pressed buttons: one still held, though bound to nothing,
    // presses its new binding at the next report.
    EngineState expected = running.engine;
    expected.lastReport[0].buttons = 0;
    expected.pressed.slots[0] = 0;
    Send(WM_RELOADCONFIG);
    EXPECT_EQ(std::memcmp(&running.engine, &expected, sizeof expected), 0);
    EXPECT_EQ(running.engine.buttonToggle.left, 1);
}

struct Shown {
    int control;
    int32_t value;
    uint32_t thresholdThen;  // the first stick's X threshold as the value appears
};

void RecordShown(void* log, int control, int32_t value)
{
    static_cast<std::vector<Shown>*>(log)->push_back({control, value, running.engine.axisLimits.threshold[0][0]});
}

TEST_F(Shell, ASensitivityArrowRecomputesTheThresholdsNotTheCentres)
{
    fake.caps[0].wXmax = 1000;
    ComputeAxisLimits(running.engine, running.config.settings);
    fake.caps[0].wXmax = 2000;
    std::vector<Shown> shown;
    SpinCommonSetting(IDC_SENSITIVITY_SPIN, -1, RecordShown, &shown);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].control, IDC_SENSITIVITY_VALUE);
    EXPECT_EQ(shown[0].value, 21);
    EXPECT_EQ(shown[0].thresholdThen, 200u) << "the new value is shown first";
    EXPECT_EQ(running.engine.axisLimits.threshold[0][0], 420u);  // then 21 % of the new span
    EXPECT_EQ(running.engine.axisLimits.centre[0][0], 500u);
}

void EditWhileOpen()
{
    running.config.settings.xStep = 33;
    running.config.MappingTable[1][7].on = 1;
}

TEST_F(Shell, EditsSurviveAFailedSaveAndACancelWhoseReloadFindsNoFile)
{
    const struct {
        const char* name;
        int sheetResult;
        bool fileExists, createFails;
        EventList expected;
        int32_t xStepAfter;
    } cases[] = {
        {"OK saves and reloads", 1, false, false, {::Shell("sheet"), ::Shell("send 1024")}, 33},
        {"OK whose save fails keeps the edits running", 1, true, true,
         {::Shell("sheet"), Message("error", "file could not be created")}, 33},
        {"Cancel reloads the file", 0, true, false, {::Shell("sheet")}, 5},
        {"Cancel without a file puts back what the editor started from", 0, false, false,
         {::Shell("sheet"), Message("error", "config file could not be opened\nplease configure first")},
         8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        if (c.fileExists) {
            DefaultConfigPath(running.configPath);
            running.config.settings.xStep = 5;
            SaveRunningConfig();
            running.config.settings.xStep = 8;
        }
        fake.failCreate = c.createFails;
        fake.sheetResult = c.sheetResult;
        fake.dispatchSends = true;
        fake.whileModal = EditWhileOpen;
        Send(kWmCommand, IDM_CONFIG);
        EXPECT_EQ(Events(), c.expected);
        EXPECT_EQ(running.config.settings.xStep, c.xStepAfter);
        EXPECT_EQ(running.config.MappingTable[1][7].on, c.xStepAfter == 33 ? 1 : 0);
    }
}

// lstrcpynA as documented: at most count - 1 characters, then a terminator.
char* Lstrcpyn(char* to, const char* from, int count)
{
    int n = 0;
    for (; n + 1 < count && from[n] != '\0'; ++n) to[n] = from[n];
    if (count > 0) to[n] = '\0';
    return to;
}

TEST(TrayRequest, TipsAreCutAt63AndAnAddSetsOnlyWhatItHas)
{
    const std::string tip63(63, 't'), tip64 = tip63 + "u";
    const struct {
        const char* tip;
        const char* shown;
    } tips[] = {{"Quellpad", "Quellpad"}, {tip63.c_str(), tip63.c_str()}, {tip64.c_str(), tip63.c_str()}, {"", ""}};
    for (const auto& t : tips) {
        char to[kTrayTipSize + 8];
        std::memset(to, 'x', sizeof to);
        CopyTrayTip(to, t.tip, Lstrcpyn);
        EXPECT_STREQ(to, t.shown);
        EXPECT_EQ(to[kTrayTipSize], 'x') << "wrote past the tip";
    }
    EXPECT_EQ(TrayAddFlags(false, false), kTrayMessage);
    EXPECT_EQ(TrayAddFlags(true, true), kTrayMessage | kTrayIcon | kTrayTip);
    EXPECT_EQ(TrayAddFlags(false, true), kTrayMessage | kTrayTip);
}

TEST(FileDialogs, LoadOffersOnlyExistingFilesAndBothFilterCfgFirst)
{
    EXPECT_EQ(kOpenDialogFlags, 0x81000u);  // OFN_EXPLORER | OFN_FILEMUSTEXIST
    EXPECT_EQ(kSaveDialogFlags, 0x80000u);  // OFN_EXPLORER: a new name is fine
    const std::string filter(kConfigFileFilter, sizeof kConfigFileFilter);
    EXPECT_EQ(filter, std::string("cfg files \0*.CFG\0all files \0*.*\0\0", 33));
}

}  // namespace
