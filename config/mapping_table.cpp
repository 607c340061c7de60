#include "config/mapping_table.h"

ActionRecord MappingTable[kPortCount][kSlotCount];
ActionRecord HatTable[kPortCount][kHatSlotCount];
