// Where a port's reports come from: one entry per kind of controller. The
// joystick driver posts its reports to the main window once a stick is
// captured; XInput has no capture, and the program asks it at a period of its
// own. Another kind is one more entry here and its platform file.
#pragma once

#include <cstdint>

#include "config/mapping_table.h"
#include "platform/joystick.h"

enum SourceKind : uint8_t { SOURCE_DRIVER, SOURCE_XINPUT, kSourceKindCount };

// What a port reads: the kind, and which of its controllers (the driver's
// joystick id, XInput's user index).
struct PortSource {
    SourceKind kind;
    uint8_t index;
    bool operator==(const PortSource&) const = default;
};

struct ControllerSource {
    // The Controllers page's name of one controller, given its number from 1.
    const char* name;
    // Whether the page adds "(connected)" or "(not connected)" to it.
    bool showsConnection;
    // The file's byte of its first controller, and how many a port may choose.
    // The driver offers each port its own joystick: its id is the port.
    uint8_t firstByte;
    uint8_t choices;
    bool portsOwn;
    // The driver posts each report to the main window; otherwise the program
    // reads the controller itself (app/pad_poll.h) and reports it at least
    // every pollMs while a stick is held at an end or settling.
    bool posts;
    uint32_t pollMs;
    uint32_t probeMs;  // how often a port whose controller does not answer asks again
    // Whether this system can read the kind at all.
    bool (*present)();
    void (*caps)(uint32_t index, JoyCaps& caps);
    // Captures for the main window at periodMs, where the kind has captures.
    bool (*open)(uint32_t index, uint32_t periodMs);
    // One report, as the driver would give it; false when the read failed.
    bool (*read)(uint32_t index, JoyInfoEx& report);
    void (*close)(uint32_t index);
};
extern const ControllerSource kControllerSources[kSourceKindCount];

inline const ControllerSource& KindOf(PortSource source)
{
    return kControllerSources[source.kind];
}

// The file's byte of a port (0 its joystick of the driver, 1 to 4 an Xbox
// controller) and back; a byte no kind knows reads the driver, as the file's
// reader keeps it.
PortSource SourceOfByte(int port, uint8_t byte);
uint8_t ByteOfSource(PortSource source);

// One entry of a port's list on the Controllers page: the text shown and the
// file's byte it stands for.
struct SourceChoice {
    char text[40];
    uint8_t source;
};
constexpr int kMaxSourceChoices = 1 + 4;

// The entries of a port's list: each kind this system can read, in the
// table's order, with whether each controller answers now where the kind
// says so.
int SourceChoices(int port, SourceChoice (&choices)[kMaxSourceChoices]);
