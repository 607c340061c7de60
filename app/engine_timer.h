// The main window's one timer for the engine: set, after each report and
// each run, for when the engine says it next needs to run; killed when it
// needs none.
#pragma once

// After a report or a run of the engine.
void ScheduleEngine();

// WM_TIMER of ENGINE_TIMER_ID.
void HandleEngineTimer();
