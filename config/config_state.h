// The configuration's process-wide state as it is when the program starts.
#pragma once

// Clears the bindings, the path and the editor's port, and gives the
// settings their initial values.
void ResetConfigState();
