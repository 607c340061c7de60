#include "engine/input_injection.h"

#include "engine/engine_state.h"
#include "engine/held_input.h"
#include "platform/input_codes.h"
#include "platform/input.h"

namespace {

struct ButtonFlags {
    uint32_t down;
    uint32_t up;
};
constexpr ButtonFlags kLeft = {kMouseLeftDown, kMouseLeftUp};
constexpr ButtonFlags kRight = {kMouseRightDown, kMouseRightUp};
constexpr ButtonFlags kMiddle = {kMouseMiddleDown, kMouseMiddleUp};

void Move(int32_t dx, int32_t dy)
{
    SendMouseEvent(kMouseMove, dx, dy);
}

// Negation that cannot overflow on a step or speed of INT32_MIN.
int32_t Negate(int32_t value)
{
    return int32_t(0u - uint32_t(value));
}

void SingleClick(const ButtonFlags& button, int32_t& toggle, bool toggleLock, ActionPhase phase)
{
    const bool down = toggle == 1 || !toggleLock;
    SendMouseEvent(down ? button.down : button.up, 0, 0);
    if (phase == PHASE_PRESS) toggle ^= 1;
}

void DoubleClick(const ButtonFlags& button)
{
    SendMouseEvent(button.down, 0, 0);
    SendMouseEvent(button.up, 0, 0);
    PlatformSleep(PlatformGetDoubleClickTime() / 2);
    SendMouseEvent(button.down, 0, 0);
    SendMouseEvent(button.up, 0, 0);
}

// Without toggle lock a release only lets a single click's button go; moves,
// double clicks and the wheel act at the press.
void PlainRelease(int32_t action)
{
    switch (action) {
    case MOUSE_LEFT_CLICK: SendMouseEvent(kLeft.up, 0, 0); break;
    case MOUSE_MIDDLE_CLICK: SendMouseEvent(kMiddle.up, 0, 0); break;
    case MOUSE_RIGHT_CLICK: SendMouseEvent(kRight.up, 0, 0); break;
    default: break;
    }
}

}  // namespace

void InjectKey(const Settings& settings, int32_t keyCode, ActionPhase phase)
{
    const bool wrap = keyCode > 64 && keyCode < 92 && phase == PHASE_PRESS;
    const uint8_t vk = uint8_t(keyCode);
    if (wrap) SendKeyEvent(kVkShift, kShiftScan, 0);
    const uint32_t scan = settings.dosMode != 0 ? PlatformOemKeyScan(vk)
                                                : PlatformMapVirtualKey(vk, kMapVkToChar);
    SendKeyEvent(vk, uint8_t(scan), phase);
    if (wrap) SendKeyEvent(kVkShift, kShiftScan, kKeyEventKeyUp | kKeyEventExtendedKey);
}

void InjectMouseAction(const Settings& settings, int32_t action, ActionPhase phase)
{
    const bool toggleLock = settings.toggleLock != 0;
    if (phase != PHASE_PRESS && settings.toggleLock != 1) {
        PlainRelease(action);
        return;
    }
    const int32_t x = settings.dynamic != 0 ? mouseSpeed.horizontal : settings.xStep;
    const int32_t y = settings.dynamic != 0 ? mouseSpeed.vertical : settings.yStep;
    switch (action) {
    case MOUSE_MOVE_UP: Move(0, Negate(y)); break;
    case MOUSE_MOVE_DOWN: Move(0, y); break;
    case MOUSE_MOVE_LEFT: Move(Negate(x), 0); break;
    case MOUSE_MOVE_RIGHT: Move(x, 0); break;
    case MOUSE_LEFT_CLICK: SingleClick(kLeft, buttonToggle.left, toggleLock, phase); break;
    case MOUSE_LEFT_DOUBLE_CLICK: DoubleClick(kLeft); break;
    case MOUSE_MIDDLE_CLICK: SingleClick(kMiddle, buttonToggle.middle, toggleLock, phase); break;
    case MOUSE_MIDDLE_DOUBLE_CLICK: DoubleClick(kMiddle); break;
    case MOUSE_RIGHT_CLICK: SingleClick(kRight, buttonToggle.right, toggleLock, phase); break;
    case MOUSE_RIGHT_DOUBLE_CLICK: DoubleClick(kRight); break;
    case MOUSE_WHEEL_UP: PlatformMouseWheel(kMouseWheel, kWheelDelta); break;
    case MOUSE_WHEEL_DOWN: PlatformMouseWheel(kMouseWheel, -kWheelDelta); break;
    case MOUSE_WHEEL_LEFT: PlatformMouseWheel(kMouseHWheel, -kWheelDelta); break;
    case MOUSE_WHEEL_RIGHT: PlatformMouseWheel(kMouseHWheel, kWheelDelta); break;
    default: break;
    }
}
