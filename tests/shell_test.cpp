// The hidden window's side of the program: which message does what, the tray
// menus and their commands, and letting go of everything on the way out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "config/config_file.h"
#include "config/config_path.h"
#include "config/mapping_table.h"
#include "config/settings.h"
#include "engine/input_injection.h"
#include "engine/joystick_report.h"
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
    EXPECT_EQ(Events(), (EventList{::Shell("menu &About...|&Exit"), ::Shell("menu Load ...|Save as ...|Config ...")}));
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
        {"config cancelled reloads too", IDM_CONFIG, 0, {::Shell("sheet"), ::Shell("send 1024")}},
        {"config failing reloads too", IDM_CONFIG, -1, {::Shell("sheet"), ::Shell("send 1024")}},
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

TEST_F(Shell, LoadMakesTheChosenFileCurrentAndReloads)
{
    std::strcpy(configPath, "C:\\Tools\\quellpad.CFG");
    fake.dialogConfirms = false;
    Send(kWmCommand, IDM_LOAD);
    EXPECT_EQ(Events(), EventList{::Shell("open-dialog")});
    EXPECT_STREQ(configPath, "C:\\Tools\\quellpad.CFG");

    ClearEvents();
    fake.dialogConfirms = true;
    std::strcpy(fake.dialogPath, "D:\\pads\\racing.cfg");
    Send(kWmCommand, IDM_LOAD);
    EXPECT_EQ(Events(), (EventList{::Shell("open-dialog"), ::Shell("send 1024")}));
    EXPECT_STREQ(configPath, "D:\\pads\\racing.cfg");
}

TEST_F(Shell, SaveAsWritesTheChosenFileWithoutReloading)
{
    std::strcpy(configPath, "C:\\Tools\\quellpad.CFG");
    MappingTable[1][43].on = 1;
    settings.delay = 7;
    fake.dialogConfirms = false;
    Send(kWmCommand, IDM_SAVEAS);
    EXPECT_EQ(Events(), EventList{::Shell("save-dialog")});
    EXPECT_STREQ(configPath, "C:\\Tools\\quellpad.CFG");
    EXPECT_EQ(FindFakeFile("C:\\Tools\\quellpad.CFG"), nullptr);

    ClearEvents();
    fake.dialogConfirms = true;
    std::strcpy(fake.dialogPath, "D:\\pads\\mine");  // typed without extension
    Send(kWmCommand, IDM_SAVEAS);
    EXPECT_EQ(Events(), EventList{::Shell("save-dialog")});
    EXPECT_STREQ(configPath, "D:\\pads\\mine");
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
        {"editor", kWmCommand, IDM_CONFIG, {::Shell("sheet"), ::Shell("post 1026"), ::Shell("send 1024")}},
        {"menu", WM_SHOWMAINMENU, 0, {::Shell("menu &About...|&Exit"), ::Shell("post 1026")}},
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
    EXPECT_STREQ(configPath, "C:\\Tools\\quellpad.CFG");
    EXPECT_EQ(Events(), EventList{Message("error", "config file could not be opened\nplease configure first")});
    EXPECT_EQ(axisLimits.threshold[0][0], 20u);

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
    ComputeAxisLimits();
    settings.continuous = 1;
    settings.toggleLock = 1;
    ActionRecord& button = MappingTable[0][2];
    button.on = button.alt = button.sendKey = 1;
    button.keyCode = 39;
    ActionRecord& stick = MappingTable[0][SLOT_X_PLUS];
    stick.on = stick.sendKey = 1;
    stick.keyCode = 96;
    ActionRecord& click = MappingTable[0][5];
    click.on = click.sendMouse = 1;
    click.mouseAction = MOUSE_LEFT_CLICK;

    fake.state[0].dwXpos = 65535;
    fake.state[0].dwYpos = 32767;
    fake.state[0].dwButtons = 1u << 5;
    ProcessJoystickReport(0);  // toggle: up at the press
    fake.state[0].dwButtons = 0;
    ProcessJoystickReport(0);  // and down at the release: now held
    fake.state[0].dwButtons = 1u << 2;
    ProcessJoystickReport(0);  // button 3 and X+ pressed and held
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
    ActionRecord& click = MappingTable[1][0];
    click.on = click.sendMouse = 1;
    click.mouseAction = MOUSE_RIGHT_CLICK;
    fake.state[1].dwButtons = 1;
    ProcessJoystickReport(1);
    fake.state[1].dwButtons = 0;
    ProcessJoystickReport(1);
    ASSERT_EQ(Events(), (EventList{MouseFlag(RIGHTDOWN), MouseFlag(RIGHTUP)}));
    ASSERT_EQ(buttonToggle.right, 1);
    ClearEvents();
    Send(kWmDestroy);
    EXPECT_EQ(Events(), EventList{::Shell("quit")});
}

}  // namespace
