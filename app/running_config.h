// How what runs changes: a configuration put in place, read from its file,
// or saved to it.
#pragma once

#include "app/messages.h"
#include "app/running.h"


// The one step at which what runs changes: lets go of what the old bindings
// hold (a button still held presses its new binding at the next report), puts
// value in place, moves the ports to its sources and, unless told
// not to (a load abandoned on a short table), computes the limits.
void PutConfigInPlace(const Configuration& value, bool computeLimits = true);

// Reads configPath into a value, tells the user what went wrong, then lets go
// of what the old bindings hold, puts the value in place and computes the
// limits. Nothing changes before the messages have been answered: reports
// during them act on what ran before. A load that cannot read the file puts
// fallback in place instead, when there is one (Cancel's copy of what the
// editor started from). Only a load abandoned on a short table skips the
// limits and the default processing.
DefaultProcessing ReloadConfig(const Configuration* fallback = nullptr);

// Saves what runs to configPath, telling the user of a failure; true when the
// file now holds it.
bool SaveRunningConfig();
