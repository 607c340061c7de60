// The seam to the window in front: which application the user works in, so
// that its own configuration can run.
#pragma once

#include <cstdint>

struct ForegroundWindow {
    enum Kind : uint8_t {
        NONE,         // no window, or one whose program could not be named
        OURS,         // the editor, a dialog, a menu or a message box of ours
        SHELL,        // the desktop or the taskbar
        APPLICATION,  // any other program's window
    } kind;
    // It runs as administrator and we do not: Windows drops our input to it.
    // Only known where Windows tells (Vista and later); false otherwise.
    bool elevatedOverUs;
    // The executable's file name without its extension, zero-terminated
    // UTF-8; empty unless kind is APPLICATION.
    char stem[260];
};

// What is in front right now.
void PlatformGetForeground(ForegroundWindow& front);

// Starts the system's notices of a new window in front, or of one restored
// from the taskbar; each arrives at the main window as message. Our own
// process's windows send none.
void PlatformWatchForeground(uint32_t message);
void PlatformStopWatchingForeground();
