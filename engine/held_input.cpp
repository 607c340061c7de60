#include "engine/held_input.h"

#include "config/settings.h"
#include "engine/action_execution.h"
#include "engine/axes.h"
#include "engine/input_injection.h"
#include "engine/joystick_report.h"
#include "platform/platform.h"

void ExecuteButtons(int port, uint32_t mask, ActionPhase phase)
{
    for (int slot = 0; mask != 0; ++slot, mask >>= 1) {
        if (mask & 1) ExecuteAction(MappingTable[port][slot], phase);
    }
}

void ReleasePort(int port)
{
    ExecuteButtons(port, lastReport[port].buttons, PHASE_RELEASE);
    lastReport[port].buttons = 0;
    if (settings.continuous != 1) return;
    for (const AxisWiring& axis : kAxes) {
        ExecuteAction(MappingTable[port][axis.maxSlot], PHASE_RELEASE);
        ExecuteAction(MappingTable[port][axis.minSlot], PHASE_RELEASE);
    }
}

void ReleaseHeldInput()
{
    for (int port = 0; port < kPortCount; ++port) ReleasePort(port);
    // A toggle-locked button stays down between clicks by design; at the end
    // of the run it must not. Without the lock the toggle state still flips
    // at every press, but no button is held by it.
    if (settings.toggleLock == 1) {
        if (buttonToggle.left == 1) PlatformMouseEvent(4, 0, 0);     // MOUSEEVENTF_LEFTUP
        if (buttonToggle.middle == 1) PlatformMouseEvent(64, 0, 0);  // MOUSEEVENTF_MIDDLEUP
        if (buttonToggle.right == 1) PlatformMouseEvent(16, 0, 0);   // MOUSEEVENTF_RIGHTUP
        buttonToggle = ButtonToggle{};
    }
}
