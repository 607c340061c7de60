#include "app/editor/config_dialogs.h"

#include "app/messages.h"
#include "app/profiles.h"
#include "app/running_config.h"
#include "platform/file_dialogs.h"
#include "platform/window.h"

void LoadConfigFromDialog()
{
    char chosen[kPathSize] = {};
    if (!PlatformGetOpenFileName(chosen)) return;
    chosen[kPathSize - 1] = '\0';
    MakeBase(chosen);
    PlatformSendToMainWindow(WM_RELOADCONFIG);
}

void SaveConfigFromDialog()
{
    char chosen[kPathSize] = {};
    if (!PlatformGetSaveFileName(chosen)) return;
    chosen[kPathSize - 1] = '\0';
    MakeBase(chosen);
    SaveRunningConfig();
}
