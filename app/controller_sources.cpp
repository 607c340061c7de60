#include "app/controller_sources.h"

#include <cstdio>

#include "engine/xinput_report.h"
#include "platform/joystick_capture.h"
#include "platform/xinput.h"

namespace {

// --- the joystick driver: captured, it posts a report at every period ----

bool DriverPresent()
{
    return PlatformJoyGetNumDevs() != 0;
}

void DriverCaps(uint32_t index, JoyCaps& caps)
{
    PlatformJoyGetDevCaps(index, &caps);
}

bool DriverOpen(uint32_t index, uint32_t periodMs)
{
    return PlatformJoySetCapture(index, periodMs) == kJoyNoError;
}

// joyGetPosEx is cheap; it is also how a free port asks whether a stick answers.
bool DriverRead(uint32_t index, JoyInfoEx& report)
{
    report = JoyInfoEx{};
    report.dwSize = sizeof report;
    report.dwFlags = kJoyReturnAll;
    return PlatformJoyGetPosEx(index, &report) == kJoyNoError;
}

void DriverClose(uint32_t index)
{
    PlatformJoyReleaseCapture(index);
}

// --- XInput: nothing to capture; the program asks ----------------------------

bool PadPresent()
{
    XInputPad pad;
    return PlatformXInputGetState(0, &pad) != XINPUT_NO_LIBRARY;
}

bool PadOpen(uint32_t, uint32_t)
{
    return true;
}

// The controller's state, turned into the report the driver would give.
bool PadRead(uint32_t index, JoyInfoEx& report)
{
    XInputPad pad = {};
    if (PlatformXInputGetState(index, &pad) != XINPUT_READ_OK) return false;
    report = JoyInfoEx{};
    XInputReport(pad, report);
    return true;
}

void PadClose(uint32_t) {}

}  // namespace

constexpr ControllerSource kControllerSources[kSourceKindCount] = {
    // Every 2 s: a driver's position read of an empty port is not free.
    {"Joystick %u (driver)", false, 0, 1, true, true, 0, 2000, DriverPresent, DriverCaps, DriverOpen, DriverRead,
     DriverClose},
    // Read every 2 ms; a held or settling stick reports every 10 ms, the
    // period of a driver's stick. A controller that is not connected is
    // asked once a second.
    {"Xbox controller %u", true, 1, 4, false, false, 10, 1000, PadPresent, XInputCaps, PadOpen, PadRead,
     PadClose},
};

static_assert([] {
    int choices = 0;
    for (const ControllerSource& kind : kControllerSources) choices += kind.choices;
    return choices == kMaxSourceChoices;
}());

PortSource SourceOfByte(int port, uint8_t byte)
{
    for (int kind = 0; kind < kSourceKindCount; ++kind) {
        const ControllerSource& source = kControllerSources[kind];
        if (byte < source.firstByte || byte - source.firstByte >= source.choices) continue;
        return {SourceKind(kind), uint8_t(source.portsOwn ? port : byte - source.firstByte)};
    }
    return {SOURCE_DRIVER, uint8_t(port)};
}

uint8_t ByteOfSource(PortSource source)
{
    const ControllerSource& kind = KindOf(source);
    return uint8_t(kind.firstByte + (kind.portsOwn ? 0 : source.index));
}

int SourceChoices(int port, SourceChoice (&choices)[kMaxSourceChoices])
{
    int count = 0;
    for (int kind = 0; kind < kSourceKindCount; ++kind) {
        const ControllerSource& source = kControllerSources[kind];
        if (!source.present()) continue;
        for (uint8_t choice = 0; choice < source.choices; ++choice) {
            SourceChoice& entry = choices[count++];
            const uint32_t index = source.portsOwn ? uint32_t(port) : choice;
            int written = std::snprintf(entry.text, sizeof entry.text, source.name, unsigned(index + 1));
            if (source.showsConnection && written > 0 && size_t(written) < sizeof entry.text) {
                JoyInfoEx report;
                std::snprintf(entry.text + written, sizeof entry.text - size_t(written), " (%s)",
                              source.read(index, report) ? "connected" : "not connected");
            }
            entry.source = uint8_t(source.firstByte + choice);
        }
    }
    return count;
}
