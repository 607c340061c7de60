#include "app/edit_config.h"

#include <cstring>

#include "app/messages.h"
#include "app/running_config.h"
#include "app/shell.h"
#include "platform/window.h"

void EditConfig()
{
    const Configuration editorStart = running.config;
    if (ShowConfigSheet() > 0) {
        // A profile's edits go back to its own file.
        if (running.profile[0] == '\0') {
            DefaultConfigPath(running.configPath);
            std::memcpy(running.basePath, running.configPath, kPathSize);
        }
        if (SaveRunningConfig()) PlatformSendToMainWindow(WM_RELOADCONFIG);
        return;
    }
    ReloadConfig(&editorStart);
}
