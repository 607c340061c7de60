#include "tools/quellpad-cfg/simulate.h"

#include "config/vocabulary.h"
#include "engine/engine_time.h"
#include "engine/held_input.h"
#include "engine/joystick_report.h"
#include "platform/input_codes.h"
#include "tools/quellpad-cfg/config_image.h"
#include "tools/quellpad-cfg/diagnostic.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

std::string Signed(int32_t value)
{
    std::string text = value > 0 ? "+" : "";
    text += std::to_string(value);
    return text;
}

const char* ButtonEvent(uint32_t flags)
{
    switch (flags) {
    case 2: return "left down";
    case 4: return "left up";
    case 8: return "right down";
    case 16: return "right up";
    case 32: return "middle down";
    case 64: return "middle up";
    default: return nullptr;
    }
}

}  // namespace

std::string FormatEvent(const ToolEvent& event)
{
    switch (event.kind) {
    case ToolEvent::Key: {
        // Virtual keys are the vocabulary's codes below 256, so its names fit.
        const KeyChoice* choice = FindKeyChoice(int32_t(event.a));
        std::string line = std::string("key ") + (event.c & 2 ? "up " : "down ") +
                           (choice != nullptr ? QuoteBytes(choice->text) : std::to_string(event.a));
        if (event.c & 1) line += " extended";
        return line;
    }
    case ToolEvent::Mouse:
        if (event.a == 1) return "mouse move " + Signed(event.dx) + " " + Signed(event.dy);
        if (const char* button = ButtonEvent(event.a)) return std::string("mouse ") + button;
        return "mouse flags " + std::to_string(event.a);
    case ToolEvent::Wheel:
        if (event.a == kMouseWheel) return "mouse wheel " + Signed(event.dx);
        if (event.a == kMouseHWheel) return "mouse hwheel " + Signed(event.dx);
        return "mouse wheel flags " + std::to_string(event.a) + " " + Signed(event.dx);
    case ToolEvent::Sleep: return "sleep " + std::to_string(event.a);
    }
    return {};
}

bool Simulate(const std::string& configPath, const Trace& trace, uint32_t doubleClickTime, std::ostream& out)
{
    ResetToolPlatform();
    toolPlatform.doubleClickTime = doubleClickTime;
    for (int port = 0; port < kPortCount; ++port) toolPlatform.caps[port] = trace.caps[port];

    ConfigImage image;
    const LoadOutcome outcome = LoadImage(configPath, image);
    if (outcome.kind == LoadOutcome::NOT_OPENED) return false;
    if (const char* message = OutcomeText(outcome)) out << "message " << QuoteBytes(message) << '\n';
    // The engine as at start-up, with the limits the program computes after a load.
    EngineState engine = {};
    if (outcome.kind != LoadOutcome::TABLE_SHORT) ComputeAxisLimits(engine, image.settings);

    for (const TraceStep& step : trace.steps) {
        toolPlatform.events.clear();
        switch (step.kind) {
        case TraceStep::Report:
            toolPlatform.lost[step.port] = false;
            for (int axis = 0; axis < kAxisCount; ++axis) {
                toolPlatform.state[step.port].*kAxes[axis].position = step.position[axis];
            }
            toolPlatform.state[step.port].dwButtons = step.buttons;
            toolPlatform.state[step.port].dwPOV = step.hat;
            ProcessJoystickReport(engine, image, step.port, step.time);
            break;
        case TraceStep::Lost:
            toolPlatform.lost[step.port] = true;
            ProcessJoystickReport(engine, image, step.port, step.time);
            break;
        case TraceStep::Exit: LetGoOfEverything(engine); break;
        case TraceStep::Wait: break;
        }
        out << "line " << step.line << ": " << EscapeControls(step.text) << '\n';
        for (const ToolEvent& event : toolPlatform.events) out << "  " << FormatEvent(event) << '\n';
        // Reports take no time; during a wait the engine's timer sends what
        // falls due (turbo, the end of a tap), each event after its time.
        uint32_t at = 0;
        while (step.kind == TraceStep::Wait && EngineNextRun(engine, at) && int32_t(step.time - at) >= 0) {
            toolPlatform.events.clear();
            RunEngineDue(engine, image, at);
            for (const ToolEvent& event : toolPlatform.events) out << "  @" << at << " " << FormatEvent(event) << '\n';
        }
    }
    return true;
}
