#include "config/config_state.h"

#include <cstring>

#include "config/config_path.h"
#include "config/mapping_table.h"
#include "config/settings.h"
#include "config/sheet_pages.h"

// The configuration's whole state; a new variable of it belongs here too.
void ResetConfigState()
{
    std::memset(MappingTable, 0, sizeof MappingTable);
    std::memset(HatTable, 0, sizeof HatTable);
    settings = Settings{};
    std::memset(configPath, 0, sizeof configPath);
    selectedPort = 0;
}
