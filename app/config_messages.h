// What the user is told about loads and saves: the shell turns each outcome
// into its message boxes, in the order the program has always shown them.
#pragma once

#include "config/config_file.h"

void TellLoadOutcome(const LoadOutcome& outcome);
// True when the file now holds the configuration.
bool TellSaveOutcome(const SaveOutcome& outcome);
