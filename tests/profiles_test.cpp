// The configuration follows the application in front: a fake foreground and
// a fake clock drive the main window's messages and timers, and the log
// shows what the user would see and what the bindings send.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "app/messages.h"
#include "config/config_file.h"
#include "engine/joystick_report.h"
#include "tests/fake_platform.h"

namespace {

constexpr const char* kBase = "C:\\Tools\\quellpad.CFG";
constexpr const char* kNotepad = "C:\\Tools\\profiles\\notepad.CFG";

// Button 1 of port 0 presses one F key: F1 for the base, F2 notepad, F3 calc,
// F4 racing, F5 what the editor binds.
constexpr uint32_t kF1 = 112, kF2 = 113, kF3 = 114, kF4 = 115, kF5 = 116;
void PutConfig(const char* path, uint32_t key)
{
    Configuration config{};
    config.MappingTable[0][0] = ActionRecord{.on = 1, .sendKey = 1, .keyCode = int32_t(key)};
    SaveConfig(path, config);
}

void Send(uint32_t message, uint32_t wParam = 0) { HandleMainWindowMessage(message, wParam, 0); }

// Time passes; the timers that fall due meanwhile arrive in order.
void Wait(uint32_t milliseconds)
{
    const uint32_t end = fake.tickCount + milliseconds;
    for (;;) {
        uint32_t id = 0;
        for (const uint32_t timer : {kTimerSettleFront, kTimerPollFront}) {
            const FakePlatform::Timer& t = *FakeTimer(timer);
            if (t.running && int32_t(end - t.due) >= 0 && (id == 0 || int32_t(FakeTimer(id)->due - t.due) > 0)) id = timer;
        }
        if (id == 0) break;
        FakePlatform::Timer& due = *FakeTimer(id);
        if (int32_t(due.due - fake.tickCount) > 0) fake.tickCount = due.due;
        due.due = fake.tickCount + (due.period < 10 ? 10 : due.period);  // as Windows repeats them
        Send(kWmTimer, id);
    }
    fake.tickCount = end;
}

struct Step {
    enum Op { FRONT, ELEVATED, OURS, DESKTOP, NOTHING, WAIT, PRESS, RELEASE, EDITOR, LOAD, DAMAGE, BIND, UNBIND } op;
    const char* name;     // FRONT, ELEVATED: the executable's stem; LOAD: the file
    uint32_t value;       // WAIT: milliseconds; EDITOR: what the editor answers; BIND: button 1's key
};
using Steps = std::vector<Step>;
const Steps* editorSteps;  // what happens while the editor is open

void Front(ForegroundWindow::Kind kind, const char* stem = "", bool elevated = false)
{
    fake.foreground = ForegroundWindow{kind, elevated, {}};
    std::strcpy(fake.foreground.stem, stem);
    Send(WM_FOREGROUNDCHANGED);
}

void RunSteps(const Steps& steps)
{
    for (const Step& step : steps) {
        switch (step.op) {
        case Step::FRONT: Front(ForegroundWindow::APPLICATION, step.name); break;
        case Step::ELEVATED: Front(ForegroundWindow::APPLICATION, step.name, true); break;
        case Step::OURS: Front(ForegroundWindow::OURS); break;
        case Step::DESKTOP: Front(ForegroundWindow::SHELL); break;
        case Step::NOTHING: Front(ForegroundWindow::NONE); break;
        case Step::WAIT: Wait(step.value); break;
        case Step::PRESS:
        case Step::RELEASE:
            fake.state[0].dwButtons = step.op == Step::PRESS ? 1 : 0;
            ProcessJoystickReport(running.engine, running.config, 0, fake.tickCount);
            break;
        case Step::EDITOR:
            fake.sheetResult = int(step.value);
            Send(kWmCommand, IDM_CONFIG);
            break;
        case Step::LOAD:
            fake.dialogConfirms = true;
            std::strcpy(fake.dialogPath, step.name);
            Send(kWmCommand, IDM_LOAD);
            break;
        case Step::BIND: running.config.MappingTable[0][0].keyCode = int32_t(step.value); break;
        case Step::UNBIND: running.config.MappingTable[0][0].on = 0; break;
        case Step::DAMAGE: PutFakeFile(step.name, std::vector<uint8_t>(100 + step.value, 7)); break;
        }
    }
}

Step F(const char* stem) { return {Step::FRONT, stem, 0}; }
Step W(uint32_t milliseconds) { return {Step::WAIT, nullptr, milliseconds}; }
const Step kPress = {Step::PRESS}, kRelease = {Step::RELEASE};

TEST(Profiles, SwitchingRules)
{
    const char* kBroken = "C:\\Tools\\profiles\\broken.CFG";
    const Event tipNotepad = Shell("tip Quellpad 2.5 - notepad"), tipBase = Shell("tip Quellpad 2.5");
    const Event brokenBalloon =
        Shell("balloon profiles\\broken.CFG could not be read; the bindings stay as they were");
    // The editor changes button 1 to F5; or the window in front changes behind it.
    const Steps editZ = {{Step::BIND, nullptr, kF5}};
    const Steps behindEditor = {F("notepad"), W(1000), kPress, kRelease};
    const struct {
        const char* name;
        bool folder;
        Steps steps;
        const Steps* whileEditor;
        EventList expected;
        const char* runs;  // configPath afterwards
        bool noBase = false;  // no file at kBase, as on a first start
    } cases[] = {
        {"own windows, the desktop, the taskbar and no window leave the application in front", true,
         {F("notepad"), W(300), {Step::OURS}, W(300), {Step::DESKTOP}, W(300), {Step::NOTHING}, W(1300)},
         nullptr, {tipNotepad}, kNotepad},
        {"the application in front must stay 250 ms", true,
         {F("notepad"), W(249), kPress, kRelease, W(1)},
         nullptr, {KeyDown(kF1, 0), KeyUp(kF1, 0), tipNotepad}, kNotepad},
        {"Alt+Tab through three applications loads only the last", true,
         {F("notepad"), W(100), F("calc"), W(100), F("notepad"), W(100), F("calc"), W(249), W(1)},
         nullptr, {Shell("tip Quellpad 2.5 - calc")}, "C:\\Tools\\profiles\\calc.CFG"},
        {"a held key is let go at the switch and the held button presses its new binding", true,
         {kPress, F("notepad"), W(250), kPress, kRelease},
         nullptr, {KeyDown(kF1, 0), KeyUp(kF1, 0), tipNotepad, KeyDown(kF2, 0), KeyUp(kF2, 0)}, kNotepad},
        {"a held button bound to nothing presses its new binding too", true,
         {{Step::UNBIND}, kPress, F("notepad"), W(250), kPress, kRelease},
         nullptr, {tipNotepad, KeyDown(kF2, 0), KeyUp(kF2, 0)}, kNotepad},
        {"a damaged profile keeps what runs, told once until the file changes", true,
         {F("notepad"), W(300), F("broken"), W(300), F("notepad"), W(300), F("broken"), W(300),
          {Step::DAMAGE, kBroken, 1}, F("notepad"), W(300), F("broken"), W(300), kPress},
         nullptr, {tipNotepad, brokenBalloon, brokenBalloon, KeyDown(kF2, 0)}, kNotepad},
        {"an open editor holds the switch until it closes", true,
         {{Step::EDITOR, nullptr, 0}, W(0)}, &behindEditor,
         {Shell("sheet"), KeyDown(kF1, 0), KeyUp(kF1, 0), tipNotepad}, kNotepad},
        {"OK saves to the profile's file and reads it back", true,
         {F("notepad"), W(300), {Step::EDITOR, nullptr, 1}, W(300), kPress}, &editZ,
         {tipNotepad, Shell("sheet"), Shell("send 1024"), KeyDown(kF5, 0)}, kNotepad},
        {"a switch to the file that runs does nothing, not even let go", true,
         {kPress, F("editor"), W(300), F("notepad"), W(300), F("NOTEPAD"), W(300)},
         nullptr, {KeyDown(kF1, 0), KeyUp(kF1, 0), tipNotepad}, kNotepad},
        {"with no profiles folder nothing changes", false,
         {kPress, F("notepad"), W(300), F("calc"), W(2000), kRelease},
         nullptr, {KeyDown(kF1, 0), KeyUp(kF1, 0)}, kBase},
        {"Load ... runs until the application in front changes, then is the base", true,
         {F("notepad"), W(300), {Step::LOAD, "D:\\pads\\racing.cfg"}, W(2000), F("calc"), W(300), F("editor"),
          W(300), kPress},
         nullptr,
         {tipNotepad, Shell("open-dialog"), tipBase, Shell("send 1024"), Shell("tip Quellpad 2.5 - calc"), tipBase,
          KeyDown(kF4, 0)},
         "D:\\pads\\racing.cfg"},
        {"an elevated application is named once", false,
         {{Step::ELEVATED, "setup"}, W(300), F("calc"), W(300), {Step::ELEVATED, "setup"}, W(300)},
         nullptr, {Shell("balloon setup runs as administrator; Quellpad's keys do not reach it")}, kBase},
        {"with no base file the switch back runs the start state, not the profile", true,
         {F("notepad"), W(300), kPress, kRelease, F("editor"), W(300), kPress, kRelease},
         nullptr, {tipNotepad, KeyDown(kF2, 0), KeyUp(kF2, 0), tipBase}, kBase, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        fake.dispatchSends = true;
        if (!c.noBase) PutConfig(kBase, kF1);
        PutConfig("D:\\pads\\racing.cfg", kF4);
        if (c.folder) {
            PutConfig(kNotepad, kF2);
            PutConfig("C:\\Tools\\profiles\\calc.CFG", kF3);
            PutFakeFile(kBroken, std::vector<uint8_t>(100, 7));
        }
        fake.foreground.kind = ForegroundWindow::SHELL;
        Send(kWmCreate);
        Wait(0);  // the message loop runs
        ClearEvents();
        editorSteps = c.whileEditor;
        fake.whileModal = [] {
            if (editorSteps != nullptr) RunSteps(*editorSteps);
        };
        RunSteps(c.steps);
        EXPECT_EQ(Events(), c.expected);
        EXPECT_STREQ(running.configPath, c.runs);
        if (!c.noBase) {
            EXPECT_EQ(FakeFileBytes(kBase)[20], kF1);  // a profile's edits never reach the base
        }
    }
}

}  // namespace
