// The editor's decisions that need no window: which pages, what the arrows
// and check boxes do, and what a page stores.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/controller_sources.h"
#include "config/sheet_pages.h"
#include "engine/joystick_report.h"
#include "tests/fake_platform.h"

namespace {

struct CapsCase {
    const char* name;
    JoyCaps port0, port1;
    std::vector<std::string> titles;  // between "common" and "CopyRight"
    std::vector<int> slots;
};

JoyCaps Caps(uint32_t buttons, uint32_t axes, uint32_t flags)
{
    JoyCaps caps = {};
    caps.wNumButtons = buttons;
    caps.wNumAxes = axes;
    caps.wCaps = flags;
    return caps;
}

std::vector<std::string> Buttons(int count)
{
    std::vector<std::string> titles;
    for (int n = 1; n <= count; ++n) titles.push_back("Button " + std::to_string(n));
    return titles;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::string> kXY = {"Axis X +", "Axis X -", "Axis Y +", "Axis Y -"};

TEST(PageList, FollowsTheCapabilitiesOfBothPorts)
{
    const CapsCase cases[] = {
        {"no device", {}, {}, kXY, {32, 33, 34, 35}},
        {"4 and 12 buttons take the larger", Caps(4, 2, 0), Caps(12, 2, 0), Join(Buttons(12), kXY), {}},
        {"X, Y and Z by axis count", Caps(0, 3, 0), {}, Join(kXY, {"Axis Z +", "Axis Z -"}),
         {32, 33, 34, 35, 36, 37}},
        {"R by its flag beside three axes", Caps(0, 3, 2), {}, Join(kXY, {"Axis Z +", "Axis Z -", "Axis R +", "Axis R -"}),
         {32, 33, 34, 35, 36, 37, 38, 39}},
        {"U and V flagged on the second port skip R", {}, Caps(0, 2, 4 | 8),
         Join(kXY, {"Axis U +", "Axis U -", "Axis V +", "Axis V -"}), {32, 33, 34, 35, 40, 41, 42, 43}},
        {"six axes give every direction", Caps(0, 6, 0), {},
         Join(kXY, {"Axis Z +", "Axis Z -", "Axis R +", "Axis R -", "Axis U +", "Axis U -", "Axis V +", "Axis V -"}),
         {}},
        {"a driver claiming 200 buttons gets 32 pages", Caps(200, 2, 0), {}, Join(Buttons(32), kXY), {}},
        {"buttons compared unsigned", Caps(0xFFFFFFFFu, 2, 0), Caps(3, 2, 0), Join(Buttons(32), kXY), {}},
        {"a hat on either port: its four pages after the axes", Caps(0, 3, 0), Caps(0, 2, 0x10),
         Join(kXY, {"Axis Z +", "Axis Z -", "Hat up", "Hat right", "Hat down", "Hat left"}),
         {32, 33, 34, 35, 36, 37, 44, 45, 46, 47}},
    };
    for (const CapsCase& c : cases) {
        SCOPED_TRACE(c.name);
        const JoyCaps caps[kPortCount] = {c.port0, c.port1};
        SheetPage pages[kMaxPages];
        const int count = BuildPageList(caps, pages);
        ASSERT_EQ(count, int(c.titles.size()) + 3);
        EXPECT_STREQ(pages[0].title, "common");
        EXPECT_EQ(pages[0].kind, PAGE_COMMON);
        EXPECT_STREQ(pages[count - 2].title, "CopyRight");
        EXPECT_EQ(pages[count - 2].kind, PAGE_INFO);
        EXPECT_STREQ(pages[count - 1].title, "Controllers");
        EXPECT_EQ(pages[count - 1].kind, PAGE_CONTROLLERS);
        for (size_t i = 0; i < c.titles.size(); ++i) {
            EXPECT_EQ(pages[i + 1].title, c.titles[i]) << "page " << i + 1;
            EXPECT_EQ(pages[i + 1].kind, PAGE_ACTION);
            if (!c.slots.empty()) {
                EXPECT_EQ(pages[i + 1].slot, c.slots[i]) << "page " << i + 1;
            }
        }
    }
}

TEST(PageList, ButtonPagesServeSlotsInButtonOrder)
{
    JoyCaps caps[kPortCount] = {};
    caps[1].wNumButtons = 32;
    caps[0].wNumAxes = 6;  // the fullest sheet there is
    caps[0].wCaps = 0x10;  // with a hat
    SheetPage pages[kMaxPages];
    ASSERT_EQ(BuildPageList(caps, pages), kMaxPages);
    for (int n = 1; n <= 32; ++n) EXPECT_EQ(pages[n].slot, n - 1);
    EXPECT_STREQ(pages[32].title, "Button 32");
    EXPECT_EQ(pages[33].slot, SLOT_X_PLUS);
}

TEST(ControllersPage, EachPortOffersItsDriverThenTheXboxControllers)
{
    ResetProgramState();
    fake.xinputLibrary = true;
    fake.padConnected[0] = fake.padConnected[3] = true;
    SourceChoice choices[kMaxSourceChoices];
    ASSERT_EQ(SourceChoices(1, choices), 5);
    const char* const kTexts[] = {"Joystick 2 (driver)", "Xbox controller 1 (connected)",
                                  "Xbox controller 2 (not connected)", "Xbox controller 3 (not connected)",
                                  "Xbox controller 4 (connected)"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(choices[i].text, kTexts[i]);
        EXPECT_EQ(choices[i].source, i);
    }
    fake.xinputLibrary = false;
    ASSERT_EQ(SourceChoices(0, choices), 1);  // without an XInput library
    EXPECT_STREQ(choices[0].text, "Joystick 1 (driver)");
}

struct SpinCase {
    int spin;
    int32_t Settings::*setting;
    int32_t before;
    int32_t iDelta;
    int32_t after;
    int shownIn;
};

TEST(CommonPage, ArrowsMoveAndClampEachValue)
{
    const SpinCase cases[] = {
        {IDC_XSTEP_SPIN, &Settings::xStep, 8, -1, 9, IDC_XSTEP_VALUE},        // up raises
        {IDC_XSTEP_SPIN, &Settings::xStep, 8, 1, 7, IDC_XSTEP_VALUE},         // down lowers
        {IDC_XSTEP_SPIN, &Settings::xStep, 40, -1, 40, IDC_XSTEP_VALUE},      // top holds
        {IDC_XSTEP_SPIN, &Settings::xStep, 1, 1, 1, IDC_XSTEP_VALUE},         // bottom holds
        {IDC_YSTEP_SPIN, &Settings::yStep, 40, -5, 40, IDC_YSTEP_VALUE},
        {IDC_YSTEP_SPIN, &Settings::yStep, 2, 3, 1, IDC_YSTEP_VALUE},
        {IDC_SENSITIVITY_SPIN, &Settings::sensitivity, 1, 1, 1, IDC_SENSITIVITY_VALUE},
        {IDC_SENSITIVITY_SPIN, &Settings::sensitivity, 60, -1, 60, IDC_SENSITIVITY_VALUE},
        {IDC_SENSITIVITY_SPIN, &Settings::sensitivity, 90, 1, 60, IDC_SENSITIVITY_VALUE},  // from a file
        {IDC_DELAY_SPIN, &Settings::delay, 0, 1, 0, IDC_DELAY_VALUE},
        {IDC_DELAY_SPIN, &Settings::delay, 200, -1, 200, IDC_DELAY_VALUE},
        {IDC_DELAY_SPIN, &Settings::delay, 1000, 1, 200, IDC_DELAY_VALUE},
        {IDC_DELAY_SPIN, &Settings::delay, INT32_MIN, 1, 0, IDC_DELAY_VALUE},  // no wrap-round
    };
    for (const SpinCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "spin " << c.spin << " from " << c.before << " by " << c.iDelta);
        ResetProgramState();
        running.config.settings.*c.setting = c.before;
        const Settings untouched = running.config.settings;
        EXPECT_EQ(ApplySpinDelta(running.config.settings, c.spin, c.iDelta), c.shownIn);
        EXPECT_EQ(running.config.settings.*c.setting, c.after);
        running.config.settings.*c.setting = untouched.*c.setting;
        EXPECT_EQ(std::memcmp(&running.config.settings, &untouched, sizeof untouched), 0) << "another setting moved";
    }
    EXPECT_EQ(ApplySpinDelta(running.config.settings, IDC_CONTINUOUS, -1), 0);
}

TEST(CommonPage, EachCheckBoxFlipsItsOwnSetting)
{
    const struct {
        int control;
        int32_t Settings::*setting;
    } boxes[] = {{IDC_CONTINUOUS, &Settings::continuous}, {IDC_DYNAMIC, &Settings::dynamic},
                 {IDC_TOGGLE_LOCK, &Settings::toggleLock}, {IDC_DIGITAL, &Settings::digital},
                 {IDC_DOS_MODE, &Settings::dosMode}};
    ResetProgramState();
    for (const auto& box : boxes) EXPECT_EQ(CommonOption(running.config.settings, box.control), &(running.config.settings.*box.setting));
    for (int control : {int(IDC_XSTEP_SPIN), int(IDC_XSTEP_VALUE), int(IDC_SENSITIVITY_VALUE), 0, 115}) {
        EXPECT_EQ(CommonOption(running.config.settings, control), nullptr) << control;
    }
}

TEST(ActionPage, TickingABoxUnticksTheOtherTwoOfItsGroup)
{
    const struct {
        int control;
        int partners[2];
    } cases[] = {
        {IDC_SHIFT, {IDC_CONTROL, IDC_ALT}},          {IDC_CONTROL, {IDC_ALT, IDC_SHIFT}},
        {IDC_ALT, {IDC_SHIFT, IDC_CONTROL}},          {IDC_SEND_KEY, {IDC_SEND_TEXT, IDC_SEND_MOUSE}},
        {IDC_SEND_TEXT, {IDC_SEND_MOUSE, IDC_SEND_KEY}}, {IDC_SEND_MOUSE, {IDC_SEND_KEY, IDC_SEND_TEXT}},
    };
    for (const auto& c : cases) {
        int partners[2] = {};
        EXPECT_FALSE(ExclusionPartners(c.control, false, partners)) << "unticking changes nothing";
        ASSERT_TRUE(ExclusionPartners(c.control, true, partners)) << c.control;
        EXPECT_EQ(partners[0], c.partners[0]) << c.control;
        EXPECT_EQ(partners[1], c.partners[1]) << c.control;
    }
    for (int control : {IDC_ON, IDC_PORT1, IDC_PORT2, IDC_KEY_LIST, IDC_TEXT, IDC_MOUSE_LIST}) {
        int partners[2] = {};
        EXPECT_FALSE(ExclusionPartners(control, true, partners)) << control;
    }
}

TEST(ActionPage, StoresWhatItShowsAndKeepsBytesAfterTheText)
{
    ActionRecord record = {};
    std::memset(record.text, 'z', sizeof record.text);  // an earlier, longer text

    ActionPageState page = {};
    page.on = page.control = page.sendText = true;
    page.keyCode = -1;  // no key chosen
    page.mouseAction = 0;
    std::strcpy(page.text, "^c");
    StoreActionPage(page, record);

    EXPECT_EQ(record.on, 1);
    EXPECT_EQ(record.shift, 0);
    EXPECT_EQ(record.control, 1);
    EXPECT_EQ(record.alt, 0);
    EXPECT_EQ(record.sendKey, 0);
    EXPECT_EQ(record.keyCode, -1);
    EXPECT_EQ(record.sendText, 1);
    EXPECT_EQ(record.sendMouse, 0);
    EXPECT_EQ(record.mouseAction, 0);
    EXPECT_EQ(std::string(record.text, 3), std::string("^c\0", 3));
    EXPECT_EQ(record.text[3], 'z');
    EXPECT_EQ(record.text[39], 'z');
}

TEST(ActionPage, KeepsAtMostThirtyNineCharacters)
{
    ActionRecord record = {};
    ActionPageState page = {};
    std::memset(page.text, 'i', kTextSize);  // forty narrow characters
    page.text[kTextSize] = '\0';
    StoreActionPage(page, record);
    EXPECT_EQ(strnlen(record.text, kTextSize), 39u);
    EXPECT_EQ(record.text[39], '\0');
}

TEST(ActionPage, ShowsFlagsTheWayTheEngineReadsThem)
{
    ActionRecord record = {};
    record.on = 7;       // any non-zero switches a binding on
    record.shift = 2;    // only exactly 1 holds Shift
    record.alt = 1;
    record.sendMouse = 1;
    record.keyCode = 346;
    record.mouseAction = 9;
    std::memset(record.text, 'x', sizeof record.text);  // no terminator in the file
    const ActionPageState page = ReadActionRecord(record);
    EXPECT_TRUE(page.on);
    EXPECT_FALSE(page.shift);
    EXPECT_TRUE(page.alt);
    EXPECT_TRUE(page.sendMouse);
    EXPECT_FALSE(page.sendKey);
    EXPECT_EQ(page.keyCode, 346);
    EXPECT_EQ(page.mouseAction, 9);
    EXPECT_EQ(std::string(page.text), std::string(40, 'x'));
}

TEST(ActionPage, APageLeftAsFilledShowsItsRecord)
{
    ActionRecord fresh = {};
    ActionPageState page = ReadActionRecord(fresh);
    page.keyCode = -1;  // code 0 is no key: the list shows none chosen
    EXPECT_TRUE(PageShowsRecord(page, fresh));
    page.mouseAction = -1;  // "move up" is code 0 and was chosen
    EXPECT_FALSE(PageShowsRecord(page, fresh));

    ActionRecord bound = {};
    bound.on = 1;
    bound.sendKey = 1;
    bound.keyCode = 9;
    std::memset(bound.text, 'x', sizeof bound.text);  // forty, the box keeps 39
    page = ReadActionRecord(bound);
    page.text[kTextSize - 1] = '\0';
    EXPECT_TRUE(PageShowsRecord(page, bound));
    page.alt = true;
    EXPECT_FALSE(PageShowsRecord(page, bound));
}

struct BehaviourCase {
    int32_t action, target;
    const char* turbo;
    SlotBehaviour stored;
};

TEST(BehaviourDialog, StoresOnlyWhatTheEngineAccepts)
{
    const BehaviourCase cases[] = {
        {LAYER_ACTION_NONE, 3, "0", {0, 0, 0}},           // no target without an action
        {LAYER_WHILE_HELD, 3, "", {1, 3, 0}},             // nothing typed: off
        {LAYER_TOGGLE, -1, "0", {2, 1, 0}},               // no target chosen: layer 1
        {LAYER_TOGGLE, 8, "0", {2, 1, 0}},
        {LAYER_ACTION_NONE, 1, "1", {0, 0, 20}},          // below the range
        {LAYER_ACTION_NONE, 1, "19", {0, 0, 20}},
        {LAYER_ACTION_NONE, 1, "20", {0, 0, 20}},
        {LAYER_ACTION_NONE, 1, " 250", {0, 0, 250}},
        {LAYER_ACTION_NONE, 1, "1000", {0, 0, 1000}},
        {LAYER_ACTION_NONE, 1, "1001", {0, 0, 1000}},
        {LAYER_ACTION_NONE, 1, "99999999999999", {0, 0, 1000}},  // no wrap-round
        {LAYER_ACTION_NONE, 1, "-50", {0, 0, 0}},
        {3, 5, "40", {0, 0, 40}},                         // no such action
    };
    for (const BehaviourCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.action << " " << c.target << " \"" << c.turbo << "\"");
        BehaviourState state = {c.action, c.target, {}};
        std::snprintf(state.turbo, sizeof state.turbo, "%s", c.turbo);
        const SlotBehaviour stored = StoreBehaviour(state);
        EXPECT_EQ(stored.layerAction, c.stored.layerAction);
        EXPECT_EQ(stored.layerTarget, c.stored.layerTarget);
        EXPECT_EQ(stored.turbo, c.stored.turbo);
        // Shown again, it stores the same.
        const SlotBehaviour again = StoreBehaviour(ReadBehaviour(stored));
        EXPECT_EQ(std::memcmp(&again, &stored, sizeof stored), 0);
    }
}

}  // namespace
