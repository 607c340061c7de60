// Load and Save as: the user picks the file that becomes the current one.
#pragma once

// On confirmation, the chosen file becomes the current file and is loaded.
void LoadConfigFromDialog();
// On confirmation, the chosen file becomes the current file and is written.
void SaveConfigFromDialog();
