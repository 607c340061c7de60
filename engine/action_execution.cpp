#include "engine/action_execution.h"

#include "engine/input_injection.h"
#include "engine/held_input.h"
#include "platform/input_codes.h"
#include "platform/input.h"

namespace {

uint8_t ScanOf(uint32_t vk, uint32_t type)
{
    return uint8_t(PlatformMapVirtualKey(vk, type));
}

void SendModifier(EngineState& engine, uint8_t vk, uint32_t flags)
{
    SendKeyEvent(engine, vk, ScanOf(vk, kMapVkToScan), flags);
}

void TypeKey(EngineState& engine, uint8_t vk)
{
    const uint8_t scan = ScanOf(vk, kMapVkToChar);
    SendKeyEvent(engine, vk, scan, 0);
    SendKeyEvent(engine, vk, scan, kKeyEventKeyUp);
}

// Digits and letters only; everything else in a macro is skipped.
void TypeCharacter(EngineState& engine, uint8_t c)
{
    if (c >= '0' && c <= '9') {
        TypeKey(engine, c);
    } else if (c >= 'a' && c <= 'z') {
        TypeKey(engine, uint8_t(c - 32));
    } else if (c >= 'A' && c <= 'Z') {
        SendKeyEvent(engine, kVkShift, kShiftScan, 0);
        TypeKey(engine, c);
        SendKeyEvent(engine, kVkShift, kShiftScan, kKeyEventKeyUp);
    }
}

// "^x" types x with Control, "%x" with Alt; a prefix covers exactly one
// character. Reading stops at the end of the field even without a zero byte.
void TypeMacro(EngineState& engine, const char (&text)[kTextSize])
{
    int i = 0;
    while (i < kTextSize && text[i] != '\0') {
        uint8_t held = 0;
        if (text[i] == '^') held = kVkControl;
        if (text[i] == '%') held = kVkMenu;
        if (held != 0) {
            SendModifier(engine, held, 0);
            ++i;
            if (i == kTextSize || text[i] == '\0') {
                SendModifier(engine, held, kKeyEventKeyUp);
                return;
            }
        }
        TypeCharacter(engine, uint8_t(text[i]));
        if (held != 0) SendModifier(engine, held, kKeyEventKeyUp);
        ++i;
    }
}

}  // namespace

void ExecuteAction(EngineState& engine, const ActionRecord& record, const Settings& settings,
                   ActionPhase phase)
{
    if (record.on == 0) return;
    if (phase == PHASE_PRESS) {
        if (record.shift == 1) SendModifier(engine, kVkShift, 0);
        if (record.alt == 1) SendModifier(engine, kVkMenu, 0);
        if (record.control == 1) SendModifier(engine, kVkControl, 0);
    }
    if (record.sendKey == 1) InjectKey(engine, settings, record.keyCode, phase);
    if (record.sendText == 1 && phase == PHASE_PRESS) TypeMacro(engine, record.text);
    if (record.sendMouse == 1) InjectMouseAction(engine, settings, record.mouseAction, phase);
    if (phase == PHASE_RELEASE) {
        // Shift goes up with the scan code of the left Shift key.
        if (record.shift == 1) {
            SendKeyEvent(engine, kVkShift, ScanOf(kVkLShift, kMapVkToScan), kKeyEventKeyUp);
        }
        if (record.alt == 1) SendModifier(engine, kVkMenu, kKeyEventKeyUp);
        if (record.control == 1) SendModifier(engine, kVkControl, kKeyEventKeyUp);
    }
}
