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

void SendModifier(uint8_t vk, uint32_t flags)
{
    SendKeyEvent(vk, ScanOf(vk, kMapVkToScan), flags);
}

void TypeKey(uint8_t vk)
{
    const uint8_t scan = ScanOf(vk, kMapVkToChar);
    SendKeyEvent(vk, scan, 0);
    SendKeyEvent(vk, scan, kKeyEventKeyUp);
}

// Digits and letters only; everything else in a macro is skipped.
void TypeCharacter(uint8_t c)
{
    if (c >= '0' && c <= '9') {
        TypeKey(c);
    } else if (c >= 'a' && c <= 'z') {
        TypeKey(uint8_t(c - 32));
    } else if (c >= 'A' && c <= 'Z') {
        SendKeyEvent(kVkShift, kShiftScan, 0);
        TypeKey(c);
        SendKeyEvent(kVkShift, kShiftScan, kKeyEventKeyUp);
    }
}

// "^x" types x with Control, "%x" with Alt; a prefix covers exactly one
// character. Reading stops at the end of the field even without a zero byte.
void TypeMacro(const char (&text)[kTextSize])
{
    int i = 0;
    while (i < kTextSize && text[i] != '\0') {
        uint8_t held = 0;
        if (text[i] == '^') held = kVkControl;
        if (text[i] == '%') held = kVkMenu;
        if (held != 0) {
            SendModifier(held, 0);
            ++i;
            if (i == kTextSize || text[i] == '\0') {
                SendModifier(held, kKeyEventKeyUp);
                return;
            }
        }
        TypeCharacter(uint8_t(text[i]));
        if (held != 0) SendModifier(held, kKeyEventKeyUp);
        ++i;
    }
}

}  // namespace

void ExecuteAction(const ActionRecord& record, const Settings& settings, ActionPhase phase)
{
    if (record.on == 0) return;
    if (phase == PHASE_PRESS) {
        if (record.shift == 1) SendModifier(kVkShift, 0);
        if (record.alt == 1) SendModifier(kVkMenu, 0);
        if (record.control == 1) SendModifier(kVkControl, 0);
    }
    if (record.sendKey == 1) InjectKey(settings, record.keyCode, phase);
    if (record.sendText == 1 && phase == PHASE_PRESS) TypeMacro(record.text);
    if (record.sendMouse == 1) InjectMouseAction(settings, record.mouseAction, phase);
    if (phase == PHASE_RELEASE) {
        // Shift goes up with the scan code of the left Shift key.
        if (record.shift == 1) SendKeyEvent(kVkShift, ScanOf(kVkLShift, kMapVkToScan), kKeyEventKeyUp);
        if (record.alt == 1) SendModifier(kVkMenu, kKeyEventKeyUp);
        if (record.control == 1) SendModifier(kVkControl, kKeyEventKeyUp);
    }
}

void ExecuteBinding(const Configuration& config, int port, int slot, ActionPhase phase)
{
    SetActingBinding(port, slot);
    ExecuteAction(Binding(config, port, slot), config.settings, phase);
    SetActingBinding(-1, -1);
}

void ExecuteButtons(const Configuration& config, int port, uint32_t mask, ActionPhase phase)
{
    for (int slot = 0; mask != 0; ++slot, mask >>= 1) {
        if (mask & 1) ExecuteBinding(config, port, slot, phase);
    }
}

void ExecuteHats(const Configuration& config, int port, uint32_t mask, ActionPhase phase)
{
    for (int direction = 0; direction < kHatSlotCount; ++direction) {
        if (mask >> direction & 1) ExecuteBinding(config, port, SLOT_HAT_UP + direction, phase);
    }
}
