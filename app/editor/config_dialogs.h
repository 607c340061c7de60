// Load and Save as: the user picks the file that becomes the current one.
#pragma once

// On confirmation, the chosen file becomes the current file and the base,
// and is loaded; it runs until the application in front changes.
void LoadConfigFromDialog();
// On confirmation, the chosen file becomes the current file and the base,
// and is written.
void SaveConfigFromDialog();
