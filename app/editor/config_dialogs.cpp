#include "app/editor/config_dialogs.h"

#include <cstring>

#include "app/messages.h"
#include "app/running_config.h"
#include "platform/file_dialogs.h"
#include "platform/window.h"

void LoadConfigFromDialog()
{
    char chosen[kPathSize] = {};
    if (!PlatformGetOpenFileName(chosen)) return;
    std::memcpy(running.configPath, chosen, kPathSize);
    running.configPath[kPathSize - 1] = '\0';
    PlatformSendToMainWindow(WM_RELOADCONFIG);
}

void SaveConfigFromDialog()
{
    char chosen[kPathSize] = {};
    if (!PlatformGetSaveFileName(chosen)) return;
    std::memcpy(running.configPath, chosen, kPathSize);
    running.configPath[kPathSize - 1] = '\0';
    SaveRunningConfig();
}
