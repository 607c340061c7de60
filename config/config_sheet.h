// The editor: a property sheet over the live settings and bindings.
#pragma once

// Shows the sheet modally over the main window. On OK it saves to the
// default file and returns a positive value; 0 or less otherwise.
int ShowConfigSheet();
