#include "app/tray_request.h"

#include <cstring>

uint32_t TrayAddFlags(bool hasIcon, bool hasTip)
{
    return kTrayMessage | (hasIcon ? kTrayIcon : 0) | (hasTip ? kTrayTip : 0);
}

void CopyTrayTip(char* to, const char* tip, BoundedCopy copy)
{
    copy(to, tip, int(strnlen(tip, kTrayTipSize - 1)) + 1);
}
