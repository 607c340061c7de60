#include "app/switch_hold.h"

#include "app/messages.h"
#include "platform/timers.h"

namespace {

int holds;

}  // namespace

void HoldSwitching()
{
    ++holds;
}

void ReleaseSwitching()
{
    if (holds > 0) --holds;
    // A settled watch finds nothing to do at the timer.
    if (holds == 0) PlatformSetTimer(kTimerSettleFront, 0);
}

bool SwitchingHeld()
{
    return holds > 0;
}
