// A joystick session written down: each port's capabilities, then the
// reports the driver would deliver, one per line.
//
//   # comment
//   caps 1 x=0..65535 y=0..65535 hat ranges of port 1's axes, the rest absent;
//                                    a hat when named
//   report 1 x=65535 buttons=1,3     an axis, the buttons or the hat left out
//   report 1 buttons=none hat=9000   keep their values from the port's previous
//   report 1 hat=centre              report (the hat is centred at first)
//   caps 2 xbox                      port 2 reads an Xbox controller through XInput
//   pad 2 buttons=a,guide lt=255 rt=255 lx=-32768
//                                    its state: buttons, triggers 0..255, sticks
//                                    -32768..32767; the rest as before
//   lost 2                           port 2's read fails (an unplugged stick)
//   wait 250                         250 ms pass before the next step; without
//                                    waits every step happens at 0 ms
//   exit                             the program ends and lets go of what is held
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/mapping_table.h"
#include "engine/axes.h"
#include "platform/input_codes.h"
#include "platform/joystick.h"
#include "tools/quellpad-cfg/diagnostic.h"

struct TraceStep {
    enum Kind : uint8_t { Report, Lost, Exit, Wait } kind;
    int line;
    int port;  // 0 or 1
    uint32_t position[kAxisCount];
    uint32_t buttons;
    std::string text;  // the line as written, for the output
    uint32_t hat = kJoyPovCentered;  // hundredths of a degree clockwise from forward
    uint32_t time = 0;  // ms from the start of the trace: the waits before it, and its own
};

struct Trace {
    JoyCaps caps[kPortCount] = {};
    std::vector<TraceStep> steps;
};

// Empty when the trace is good.
DiagnosticList ParseTrace(std::string_view text, Trace& trace);
