#include "engine/engine_state.h"

EngineState engineState;

void RestoreStartState()
{
    engineState = EngineState{};
}
