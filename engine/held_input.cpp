#include "engine/held_input.h"

#include "config/settings.h"
#include "engine/action_execution.h"
#include "engine/axes.h"
#include "engine/engine_state.h"
#include "platform/input_codes.h"
#include "platform/platform.h"

void ReleasePort(int port)
{
    ExecuteButtons(port, lastReport[port].buttons, PHASE_RELEASE);
    lastReport[port].buttons = 0;
    // The hat's held directions go up like its buttons.
    ExecuteHats(port, lastReport[port].hats, PHASE_RELEASE);
    lastReport[port].hats = 0;
    if (settings.continuous != 1) return;
    for (const AxisWiring& axis : kAxes) {
        ExecuteBinding(port, axis.maxSlot, PHASE_RELEASE);
        ExecuteBinding(port, axis.minSlot, PHASE_RELEASE);
    }
}

void ReleaseHeldInput()
{
    for (int port = 0; port < kPortCount; ++port) ReleasePort(port);
    // A toggle-locked button stays down between clicks by design; at the end
    // of the run it must not. Without the lock the toggle state still flips
    // at every press, but no button is held by it.
    if (settings.toggleLock == 1) {
        if (buttonToggle.left == 1) PlatformMouseEvent(kMouseLeftUp, 0, 0);
        if (buttonToggle.middle == 1) PlatformMouseEvent(kMouseMiddleUp, 0, 0);
        if (buttonToggle.right == 1) PlatformMouseEvent(kMouseRightUp, 0, 0);
        buttonToggle = ButtonToggle{};
    }
}
