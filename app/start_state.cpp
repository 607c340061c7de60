#include "app/start_state.h"

#include <cstring>

#include "config/config_path.h"
#include "config/mapping_table.h"
#include "config/settings.h"
#include "config/sheet_pages.h"
#include "engine/input_injection.h"
#include "engine/joystick_report.h"

void RestoreStartState()
{
    std::memset(MappingTable, 0, sizeof MappingTable);
    settings = Settings{};
    std::memset(configPath, 0, sizeof configPath);
    std::memset(joyCaps, 0, sizeof joyCaps);
    std::memset(&axisLimits, 0, sizeof axisLimits);
    std::memset(lastReport, 0, sizeof lastReport);
    mouseSpeed = MouseSpeed{};
    buttonToggle = ButtonToggle{};
    selectedPort = 0;
}
