// Config ...: the editor over what runs, then what becomes of the edits.
#pragma once

// The editor, then the reload that makes the running configuration what the
// current file holds. OK saves to the profile's file while a profile runs,
// otherwise to the default file, which becomes the base; when that fails,
// the edits keep running and no reload throws them away. Cancel reads the
// current file again, and where it cannot, puts back what the editor
// started from.
void EditConfig();
