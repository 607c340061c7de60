#include "config/mapping_table.h"

ActionRecord MappingTable[kPortCount][kSlotCount];
