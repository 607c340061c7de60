// Which configuration runs for the application in front: its profile, the
// file profiles\NAME.CFG beside the program for NAME.exe, or else the base.
// The watch lives on the main window's messages and timers; the report path
// never looks at it.
#pragma once

#include <cstdint>

#include "config/config_path.h"

// How long the application in front must stay before its file is read, so
// that Alt+Tab through several windows loads none of those in between.
constexpr uint32_t kSettleMilliseconds = 250;
// A look at the window in front, for changes the system's notices miss.
constexpr uint32_t kPollMilliseconds = 1000;

// At creation: the choice is made once the message loop runs.
void StartWatchingForeground();
// At destruction: nothing switches any more.
void StopWatchingForeground();

// A notice, or the poll: another window may be in front.
void ForegroundMayHaveChanged();
// The settle timer: the application in front has stayed; its file runs
// unless something modal is open.
void SettleTimerFired();

// Load ... and Save as ...: path becomes the base and the current file,
// and runs until the application in front changes.
void MakeBase(const char* path);
