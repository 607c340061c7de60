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

void Move(EngineState& engine, int32_t dx, int32_t dy)
{
    SendMouseEvent(engine, kMouseMove, dx, dy);
}

// Negation that cannot overflow on a step or speed of INT32_MIN.
int32_t Negate(int32_t value)
{
    return int32_t(0u - uint32_t(value));
}

void SingleClick(EngineState& engine, const ButtonFlags& button, int32_t& toggle, bool toggleLock,
                 ActionPhase phase)
{
    const bool down = toggle == 1 || !toggleLock;
    SendMouseEvent(engine, down ? button.down : button.up, 0, 0);
    if (phase == PHASE_PRESS) toggle ^= 1;
}

void DoubleClick(EngineState& engine, const ButtonFlags& button)
{
    SendMouseEvent(engine, button.down, 0, 0);
    SendMouseEvent(engine, button.up, 0, 0);
    PlatformSleep(PlatformGetDoubleClickTime() / 2);
    SendMouseEvent(engine, button.down, 0, 0);
    SendMouseEvent(engine, button.up, 0, 0);
}

// Without toggle lock a release only lets a single click's button go; moves,
// double clicks and the wheel act at the press.
void PlainRelease(EngineState& engine, int32_t action)
{
    switch (action) {
    case MOUSE_LEFT_CLICK: SendMouseEvent(engine, kLeft.up, 0, 0); break;
    case MOUSE_MIDDLE_CLICK: SendMouseEvent(engine, kMiddle.up, 0, 0); break;
    case MOUSE_RIGHT_CLICK: SendMouseEvent(engine, kRight.up, 0, 0); break;
    default: break;
    }
}

}  // namespace

void InjectKey(EngineState& engine, const Settings& settings, int32_t keyCode, ActionPhase phase)
{
    const bool wrap = keyCode > 64 && keyCode < 92 && phase == PHASE_PRESS;
    const uint8_t vk = uint8_t(keyCode);
    if (wrap) SendKeyEvent(engine, kVkShift, kShiftScan, 0);
    const uint32_t scan = settings.dosMode != 0 ? PlatformOemKeyScan(vk)
                                                : PlatformMapVirtualKey(vk, kMapVkToChar);
    SendKeyEvent(engine, vk, uint8_t(scan), phase);
    if (wrap) SendKeyEvent(engine, kVkShift, kShiftScan, kKeyEventKeyUp | kKeyEventExtendedKey);
}

void InjectMouseAction(EngineState& engine, const Settings& settings, int32_t action, ActionPhase phase)
{
    const bool toggleLock = settings.toggleLock != 0;
    if (phase != PHASE_PRESS && settings.toggleLock != 1) {
        PlainRelease(engine, action);
        return;
    }
    ButtonToggle& toggle = engine.buttonToggle;
    const int32_t x = settings.dynamic != 0 ? engine.mouseSpeed.horizontal : settings.xStep;
    const int32_t y = settings.dynamic != 0 ? engine.mouseSpeed.vertical : settings.yStep;
    switch (action) {
    case MOUSE_MOVE_UP: Move(engine, 0, Negate(y)); break;
    case MOUSE_MOVE_DOWN: Move(engine, 0, y); break;
    case MOUSE_MOVE_LEFT: Move(engine, Negate(x), 0); break;
    case MOUSE_MOVE_RIGHT: Move(engine, x, 0); break;
    case MOUSE_LEFT_CLICK: SingleClick(engine, kLeft, toggle.left, toggleLock, phase); break;
    case MOUSE_LEFT_DOUBLE_CLICK: DoubleClick(engine, kLeft); break;
    case MOUSE_MIDDLE_CLICK: SingleClick(engine, kMiddle, toggle.middle, toggleLock, phase); break;
    case MOUSE_MIDDLE_DOUBLE_CLICK: DoubleClick(engine, kMiddle); break;
    case MOUSE_RIGHT_CLICK: SingleClick(engine, kRight, toggle.right, toggleLock, phase); break;
    case MOUSE_RIGHT_DOUBLE_CLICK: DoubleClick(engine, kRight); break;
    case MOUSE_WHEEL_UP: PlatformMouseWheel(kMouseWheel, kWheelDelta); break;
    case MOUSE_WHEEL_DOWN: PlatformMouseWheel(kMouseWheel, -kWheelDelta); break;
    case MOUSE_WHEEL_LEFT: PlatformMouseWheel(kMouseHWheel, -kWheelDelta); break;
    case MOUSE_WHEEL_RIGHT: PlatformMouseWheel(kMouseHWheel, kWheelDelta); break;
    default: break;
    }
}
