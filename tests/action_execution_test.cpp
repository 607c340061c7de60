// One binding at a time: modifiers, single key, text macro and mouse action,
// and the order they reach the system in.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/action_execution.h"
#include "tests/fake_platform.h"

namespace {

// The binding's own modifiers take their scan codes from look-up type 0;
// Shift goes up with the left Shift's (0xAA in the fake).
const Event kShiftDown = KeyDown(16, 42), kShiftUp = KeyUp(16, 0xAA);
const Event kAltDown = KeyDown(18, 56), kAltUp = KeyUp(18, 56);
const Event kCtrlDown = KeyDown(17, 29), kCtrlUp = KeyUp(17, 29);
// A macro's capital wraps its letter in Shift with the fixed scan 42.
const Event kMacroShiftDown = KeyDown(16, 42), kMacroShiftUp = KeyUp(16, 42, 2);

// Character look-ups that differ from the scan-code ones in their low byte,
// so a macro that used the wrong look-up would show.
uint32_t CharScan(uint32_t vk) { return (vk + 0x40) & 0xFF; }
void UseDistinctCharLookups()
{
    for (uint32_t vk = '0'; vk <= 'Z'; ++vk) fake.mapType2[vk] = 0x200 | CharScan(vk);
}
// A macro character: down and up with the character look-up as scan byte.
EventList Tap(uint32_t vk) { return {KeyDown(vk, CharScan(vk)), KeyUp(vk, CharScan(vk))}; }
EventList Capital(uint32_t vk) { return Seq(kMacroShiftDown, Tap(vk), kMacroShiftUp); }

struct ActionCase {
    const char* name;
    ActionRecord record;
    EventList press, release;
};

TEST(ExecuteAction, PressAndReleaseSendTheBindingInOrder)
{
    const ActionCase cases[] = {
        {"off sends nothing", {0, 1, 1, 1, 1, 65, 1, "ab", 1, 4}, {}, {}},
        {"any non-zero on counts", {.on = -1, .sendKey = 1, .keyCode = 49}, {Tap(49)[0]}, {Tap(49)[1]}},
        {"flags other than 1 do not count", {1, 2, 2, 2, 2, 65, 2, "ab", 2, 4}, {}, {}},
        {"Shift and Alt, same order both ways", {.on = 1, .shift = 1, .alt = 1}, {kShiftDown, kAltDown},
         {kShiftUp, kAltUp}},
        {"Shift, Alt, Control", {.on = 1, .shift = 1, .control = 1, .alt = 1}, {kShiftDown, kAltDown, kCtrlDown},
         {kShiftUp, kAltUp, kCtrlUp}},
        {"aB1", {.on = 1, .sendText = 1, .text = "aB1"}, Seq(Tap(65), Capital(66), Tap(49)), {}},
        {"^c", {.on = 1, .sendText = 1, .text = "^c"}, Seq(kCtrlDown, Tap(67), kCtrlUp), {}},
        {"a b: the space is skipped", {.on = 1, .sendText = 1, .text = "a b"}, Seq(Tap(65), Tap(66)), {}},
        {"x^: a trailing prefix is let go", {.on = 1, .sendText = 1, .text = "x^"}, Seq(Tap(88), kCtrlDown, kCtrlUp),
         {}},
        {"^^x", {.on = 1, .sendText = 1, .text = "^^x"}, Seq(kCtrlDown, kCtrlUp, Tap(88)), {}},
        {"%^a", {.on = 1, .sendText = 1, .text = "%^a"}, Seq(kAltDown, kAltUp, Tap(65)), {}},
        {"%Z: a prefix covers a capital", {.on = 1, .sendText = 1, .text = "%Z"}, Seq(kAltDown, Capital(90), kAltUp),
         {}},
        {"punctuation and high bytes are skipped", {.on = 1, .sendText = 1, .text = "\x80!z9@[`{/:"},
         Seq(Tap(90), Tap(57)), {}},
        {"empty text", {.on = 1, .sendText = 1, .text = ""}, {}, {}},
        {"binding Shift around capitals typed with their own", {.on = 1, .shift = 1, .sendText = 1, .text = "AB"},
         Seq(kShiftDown, Capital(65), Capital(66)), {kShiftUp}},
        {"modifiers, key, text, mouse; release key, mouse, modifiers",
         {1, 1, 1, 0, 1, 65, 1, "1", 1, 4},
         Seq(kShiftDown, kCtrlDown, KeyDown(16, 42), Tap(65)[0], KeyUp(16, 42, 3), Tap(49), MouseFlag(LEFTDOWN)),
         {Tap(65)[1], MouseFlag(LEFTUP), kShiftUp, kCtrlUp}},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        UseDistinctCharLookups();
        ExecuteAction(running.engine, c.record, running.config.settings, PHASE_PRESS);
        EXPECT_EQ(Events(), c.press);
        ClearEvents();
        ExecuteAction(running.engine, c.record, running.config.settings, PHASE_RELEASE);
        EXPECT_EQ(Events(), c.release);
    }
}

// A file can hold a text field with no zero byte. The field is typed in full
// and reading stops at its end: the bytes after it spell letters that must
// not appear, and the record is the very last of the table.
TEST(ExecuteAction, TextFilledToTheLastByteStopsAtTheField)
{
    struct FullCase {
        const char* name;
        char last;
        EventList tail;
    };
    const FullCase cases[] = {
        {"a letter", 'q', Tap(81)},
        {"Control prefix", '^', {kCtrlDown, kCtrlUp}},
        {"Alt prefix", '%', {kAltDown, kAltUp}},
    };
    for (const FullCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramState();
        UseDistinctCharLookups();
        ActionRecord& record = running.config.MappingTable[kPortCount - 1][kSlotCount - 1];
        record.on = record.sendText = 1;
        std::memset(record.text, 'a', sizeof record.text - 1);
        record.text[sizeof record.text - 1] = c.last;
        std::memcpy(&record.sendMouse, "aaaa", 4);
        std::memcpy(&record.mouseAction, "aaaa", 4);
        ExecuteAction(running.engine, record, running.config.settings, PHASE_PRESS);
        EventList expected;
        for (int i = 0; i < kTextSize - 1; ++i) AppendEvents(expected, Tap(65));
        AppendEvents(expected, c.tail);
        EXPECT_EQ(Events(), expected);
    }
}

}  // namespace
