#include "engine/action_execution.h"

#include "engine/input_injection.h"
#include "platform/platform.h"

namespace {

constexpr uint8_t VK_SHIFT = 16;
constexpr uint8_t VK_CONTROL = 17;
constexpr uint8_t VK_MENU = 18;
constexpr uint8_t VK_LSHIFT = 160;
constexpr uint32_t KEYEVENTF_KEYUP = 2;
constexpr uint32_t MAPVK_VK_TO_VSC = 0;
constexpr uint32_t MAPVK_VK_TO_CHAR = 2;
constexpr uint8_t kShiftScan = 42;

uint8_t ScanOf(uint32_t vk, uint32_t type)
{
    return uint8_t(PlatformMapVirtualKey(vk, type));
}

void SendModifier(uint8_t vk, uint32_t flags)
{
    PlatformKeyEvent(vk, ScanOf(vk, MAPVK_VK_TO_VSC), flags);
}

void TypeKey(uint8_t vk)
{
    const uint8_t scan = ScanOf(vk, MAPVK_VK_TO_CHAR);
    PlatformKeyEvent(vk, scan, 0);
    PlatformKeyEvent(vk, scan, KEYEVENTF_KEYUP);
}

// Digits and letters only; everything else in a macro is skipped.
void TypeCharacter(uint8_t c)
{
    if (c >= '0' && c <= '9') {
        TypeKey(c);
    } else if (c >= 'a' && c <= 'z') {
        TypeKey(uint8_t(c - 32));
    } else if (c >= 'A' && c <= 'Z') {
        PlatformKeyEvent(VK_SHIFT, kShiftScan, 0);
        TypeKey(c);
        PlatformKeyEvent(VK_SHIFT, kShiftScan, KEYEVENTF_KEYUP);
    }
}

// "^x" types x with Control, "%x" with Alt; a prefix covers exactly one
// character. Reading stops at the end of the field even without a zero byte.
void TypeMacro(const char (&text)[kTextSize])
{
    int i = 0;
    while (i < kTextSize && text[i] != '\0') {
        uint8_t held = 0;
        if (text[i] == '^') held = VK_CONTROL;
        if (text[i] == '%') held = VK_MENU;
        if (held != 0) {
            SendModifier(held, 0);
            ++i;
            if (i == kTextSize || text[i] == '\0') {
                SendModifier(held, KEYEVENTF_KEYUP);
                return;
            }
        }
        TypeCharacter(uint8_t(text[i]));
        if (held != 0) SendModifier(held, KEYEVENTF_KEYUP);
        ++i;
    }
}

}  // namespace

void ExecuteAction(const ActionRecord& record, ActionPhase phase)
{
    if (record.on == 0) return;
    if (phase == PHASE_PRESS) {
        if (record.shift == 1) SendModifier(VK_SHIFT, 0);
        if (record.alt == 1) SendModifier(VK_MENU, 0);
        if (record.control == 1) SendModifier(VK_CONTROL, 0);
    }
    if (record.sendKey == 1) InjectKey(record.keyCode, phase);
    if (record.sendText == 1 && phase == PHASE_PRESS) TypeMacro(record.text);
    if (record.sendMouse == 1) InjectMouseAction(record.mouseAction, phase);
    if (phase == PHASE_RELEASE) {
        // Shift goes up with the scan code of the left Shift key.
        if (record.shift == 1) PlatformKeyEvent(VK_SHIFT, ScanOf(VK_LSHIFT, MAPVK_VK_TO_VSC), KEYEVENTF_KEYUP);
        if (record.alt == 1) SendModifier(VK_MENU, KEYEVENTF_KEYUP);
        if (record.control == 1) SendModifier(VK_CONTROL, KEYEVENTF_KEYUP);
    }
}
