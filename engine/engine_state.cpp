#include "engine/engine_state.h"

#include "config/config_state.h"

EngineState engineState;

void RestoreStartState()
{
    ResetConfigState();
    engineState = EngineState{};
}
