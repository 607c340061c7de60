#include "app/editor/config_dialogs.h"

#include <cstring>

#include "app/messages.h"
#include "config/config_file.h"
#include "config/config_path.h"
#include "platform/platform.h"

void LoadConfigFromDialog()
{
    char chosen[kPathSize] = {};
    if (!PlatformGetOpenFileName(chosen)) return;
    std::memcpy(configPath, chosen, kPathSize);
    configPath[kPathSize - 1] = '\0';
    PlatformSendToMainWindow(WM_RELOADCONFIG);
}

void SaveConfigFromDialog()
{
    char chosen[kPathSize] = {};
    if (!PlatformGetSaveFileName(chosen)) return;
    std::memcpy(configPath, chosen, kPathSize);
    configPath[kPathSize - 1] = '\0';
    SaveConfig();
}
