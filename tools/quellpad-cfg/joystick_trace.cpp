#include "tools/quellpad-cfg/joystick_trace.h"

#include <charconv>

#include "engine/xinput_report.h"
#include "tools/quellpad-cfg/nearest_name.h"

namespace {

constexpr const char* kAxisNames[kAxisCount] = {"x", "y", "z", "r", "u", "v"};

struct Token {
    std::string_view text;
    int column;
};

std::vector<Token> Split(std::string_view line)
{
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
        tokens.push_back({line.substr(start, i - start), int(start) + 1});
    }
    return tokens;
}

bool Number(std::string_view text, uint32_t& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

int AxisIndex(std::string_view name)
{
    for (int axis = 0; axis < kAxisCount; ++axis) {
        if (name == kAxisNames[axis]) return axis;
    }
    return -1;
}

class Parser {
public:
    Parser(Trace& trace, DiagnosticList& errors) : trace_(trace), errors_(errors) {}

    void Line(std::string_view text, int line)
    {
        line_ = line;
        if (const size_t hash = text.find('#'); hash != std::string_view::npos) text = text.substr(0, hash);
        const std::vector<Token> tokens = Split(text);
        if (tokens.empty()) return;
        const Token& verb = tokens[0];
        if (exited_) return Error(verb, "nothing can follow exit; the program has ended");
        if (verb.text == "report" || verb.text == "pad" || verb.text == "lost" || verb.text == "exit") seenReport_ = true;
        if (verb.text == "wait") return Wait(tokens, Trim(text));
        if (verb.text == "exit") {
            exited_ = true;
            if (tokens.size() > 1) return Error(tokens[1], QuoteWord(tokens[1].text) + " after exit; exit takes nothing");
            TraceStep step = {TraceStep::Exit, line, 0, {}, 0, std::string(Trim(text))};
            step.time = now_;
            trace_.steps.push_back(step);
            return;
        }
        if (verb.text != "caps" && verb.text != "report" && verb.text != "pad" && verb.text != "lost") {
            return Error(verb, "unknown command " + QuoteWord(verb.text) + "; nearest is " +
                                   QuoteWord(NearestName(verb.text, {"caps", "report", "pad", "lost", "wait", "exit"})));
        }
        if (tokens.size() < 2) return Error(verb, std::string(verb.text) + " needs a port, 1 or 2");
        uint32_t number = 0;
        if (!Number(tokens[1].text, number) || number < 1 || number > kPortCount) {
            return Error(tokens[1], "port " + QuoteWord(tokens[1].text) + " is neither 1 nor 2");
        }
        const int port = int(number) - 1;
        if (verb.text == "caps") return Caps(tokens, port);
        if (verb.text == "lost") {
            if (tokens.size() > 2) return Error(tokens[2], QuoteWord(tokens[2].text) + " after lost; lost takes only a port");
            TraceStep step = {TraceStep::Lost, line, port, {}, 0, std::string(Trim(text))};
            step.time = now_;
            trace_.steps.push_back(step);
            return;
        }
        if (verb.text == "pad") return Pad(tokens, port, Trim(text));
        Report(tokens, port, Trim(text));
    }

private:
    static std::string_view Trim(std::string_view text)
    {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
        return text;
    }

    void Error(const Token& token, std::string message)
    {
        if (errors_.Wants(line_, token.column)) errors_.Add({line_, token.column, std::move(message)});
    }

    // "name=value" split at the first '='; false (and an error) without one.
    bool Pair(const Token& token, std::string_view& name, std::string_view& value)
    {
        const size_t equals = token.text.find('=');
        if (equals == std::string_view::npos) {
            Error(token, QuoteWord(token.text) + " is not of the form name=value");
            return false;
        }
        name = token.text.substr(0, equals);
        value = token.text.substr(equals + 1);
        return true;
    }

    int Axis(const Token& token, std::string_view name, std::vector<std::string> extra)
    {
        const int axis = AxisIndex(name);
        if (axis < 0) {
            for (const char* a : kAxisNames) extra.push_back(a);
            Error(token, "unknown axis " + QuoteWord(name) + "; nearest is " + QuoteWord(NearestName(name, extra)));
        }
        return axis;
    }

    // Time passes: the steps after it happen that much later.
    void Wait(const std::vector<Token>& tokens, std::string_view text)
    {
        if (tokens.size() < 2) return Error(tokens[0], "wait needs milliseconds, a whole number");
        if (tokens.size() > 2) return Error(tokens[2], QuoteWord(tokens[2].text) + " after wait; wait takes only milliseconds");
        uint32_t ms = 0;
        if (!Number(tokens[1].text, ms) || ms > UINT32_MAX - now_) {
            return Error(tokens[1], "wait " + QuoteWord(tokens[1].text) + " is not a whole number of milliseconds that "
                                    "keeps the trace within 4294967295 ms");
        }
        now_ += ms;
        TraceStep step = {TraceStep::Wait, line_, 0, {}, 0, std::string(text)};
        step.time = now_;
        trace_.steps.push_back(step);
    }

    void Caps(const std::vector<Token>& tokens, int port)
    {
        if (seenReport_) {
            return Error(tokens[0], "caps after the first report; the program reads capabilities before it "
                                    "captures the sticks");
        }
        JoyCaps& caps = trace_.caps[port];
        if (tokens.size() == 3 && tokens[2].text == "xbox") {
            XInputCaps(uint32_t(port), caps);
            return;
        }
        for (size_t i = 2; i < tokens.size(); ++i) {
            if (tokens[i].text == "hat") {
                caps.wCaps |= kJoyCapsHasPov;
                continue;
            }
            std::string_view name, value;
            if (!Pair(tokens[i], name, value)) continue;
            const int axis = Axis(tokens[i], name, {});
            if (axis < 0) continue;
            const size_t dots = value.find("..");
            uint32_t low = 0, high = 0;
            if (dots == std::string_view::npos || !Number(value.substr(0, dots), low) ||
                !Number(value.substr(dots + 2), high)) {
                Error(tokens[i], "range " + QuoteWord(value) + " of axis " + std::string(name) +
                                     " is not of the form MIN..MAX with whole numbers 0 to 4294967295");
                continue;
            }
            caps.*kAxes[axis].min = low;
            caps.*kAxes[axis].max = high;
        }
    }

    void Report(const std::vector<Token>& tokens, int port, std::string_view text)
    {
        TraceStep step = {TraceStep::Report, line_, port, {}, 0, std::string(text)};
        step.time = now_;
        for (int axis = 0; axis < kAxisCount; ++axis) step.position[axis] = last_[port].position[axis];
        step.buttons = last_[port].buttons;
        step.hat = last_[port].hat;
        for (size_t i = 2; i < tokens.size(); ++i) {
            std::string_view name, value;
            if (!Pair(tokens[i], name, value)) continue;
            if (name == "buttons") {
                Buttons(tokens[i], value, step.buttons);
                continue;
            }
            if (name == "hat") {
                if (value == "centre") {
                    step.hat = kJoyPovCentered;
                } else if (!Number(value, step.hat)) {
                    Error(tokens[i], "hat " + QuoteWord(value) +
                                         " is neither centre nor a whole number 0 to 4294967295 (hundredths of a degree)");
                }
                continue;
            }
            const int axis = Axis(tokens[i], name, {"buttons", "hat"});
            if (axis < 0) continue;
            if (!Number(value, step.position[axis])) {
                Error(tokens[i], "position " + QuoteWord(value) + " of axis " + std::string(name) +
                                     " is not a whole number 0 to 4294967295");
            }
        }
        last_[port] = step;
        trace_.steps.push_back(step);
    }

    // An Xbox controller's state, as XInput gives it; what it leaves out
    // keeps the port's previous state. It becomes the report the program
    // makes of it.
    void Pad(const std::vector<Token>& tokens, int port, std::string_view text)
    {
        XInputPad& pad = lastPad_[port];
        for (size_t i = 2; i < tokens.size(); ++i) {
            std::string_view name, value;
            if (!Pair(tokens[i], name, value)) continue;
            if (name == "buttons") {
                PadButtons(tokens[i], value, pad.wButtons);
            } else if (name == "lt" || name == "rt") {
                uint32_t pull = 0;
                if (!Number(value, pull) || pull > 255) {
                    Error(tokens[i], "trigger " + QuoteWord(value) + " is not a whole number 0 to 255");
                } else {
                    (name == "lt" ? pad.bLeftTrigger : pad.bRightTrigger) = uint8_t(pull);
                }
            } else if (int16_t* thumb = Thumb(pad, name)) {
                const std::string digits(value.substr(value.starts_with('-') ? 1 : 0));
                uint32_t magnitude = 0;
                const bool negative = value.starts_with('-');
                if (!Number(digits, magnitude) || magnitude > (negative ? 32768u : 32767u)) {
                    Error(tokens[i], "stick " + QuoteWord(value) + " is not a whole number -32768 to 32767");
                } else {
                    *thumb = int16_t(negative ? -int32_t(magnitude) : int32_t(magnitude));
                }
            } else {
                Error(tokens[i], "unknown pad field " + QuoteWord(name) + "; nearest is " +
                                     QuoteWord(NearestName(name, {"buttons", "lt", "rt", "lx", "ly", "rx", "ry"})));
            }
        }
        JoyInfoEx info = {};
        XInputReport(pad, info);
        TraceStep step = {TraceStep::Report, line_, port, {}, info.dwButtons, std::string(text)};
        step.time = now_;
        for (int axis = 0; axis < kAxisCount; ++axis) step.position[axis] = info.*kAxes[axis].position;
        step.hat = info.dwPOV;
        last_[port] = step;
        trace_.steps.push_back(step);
    }

    static int16_t* Thumb(XInputPad& pad, std::string_view name)
    {
        if (name == "lx") return &pad.sThumbLX;
        if (name == "ly") return &pad.sThumbLY;
        if (name == "rx") return &pad.sThumbRX;
        if (name == "ry") return &pad.sThumbRY;
        return nullptr;
    }

    void PadButtons(const Token& token, std::string_view list, uint16_t& mask)
    {
        static constexpr struct {
            const char* name;
            uint16_t bit;
        } kNames[] = {{"a", kPadA}, {"b", kPadB}, {"x", kPadX}, {"y", kPadY}, {"lb", kPadLeftShoulder},
                      {"rb", kPadRightShoulder}, {"back", kPadBack}, {"start", kPadStart}, {"ls", kPadLeftThumb},
                      {"rs", kPadRightThumb}, {"guide", kPadGuide}, {"up", kPadDpadUp}, {"down", kPadDpadDown},
                      {"left", kPadDpadLeft}, {"right", kPadDpadRight}};
        mask = 0;
        if (list == "none") return;
        while (true) {
            const size_t comma = list.find(',');
            const std::string_view item = list.substr(0, comma);
            bool known = false;
            for (const auto& button : kNames) {
                if (item != button.name) continue;
                mask |= button.bit;
                known = true;
            }
            if (!known) {
                std::vector<std::string> names;
                for (const auto& button : kNames) names.push_back(button.name);
                return Error(token, "pad button " + QuoteWord(item) + " is unknown; nearest is " +
                                        QuoteWord(NearestName(item, names)) + " (write buttons=none for none)");
            }
            if (comma == std::string_view::npos) return;
            list = list.substr(comma + 1);
        }
    }

    void Buttons(const Token& token, std::string_view list, uint32_t& mask)
    {
        mask = 0;
        if (list == "none") return;
        while (true) {
            const size_t comma = list.find(',');
            const std::string_view item = list.substr(0, comma);
            uint32_t button = 0;
            if (!Number(item, button) || button < 1 || button > kButtonSlotCount) {
                return Error(token, "button " + QuoteWord(item) + " is not a number 1 to 32 (write buttons=none for none)");
            }
            mask |= 1u << (button - 1);
            if (comma == std::string_view::npos) return;
            list = list.substr(comma + 1);
        }
    }

    Trace& trace_;
    DiagnosticList& errors_;
    int line_ = 0;
    bool seenReport_ = false;
    bool exited_ = false;
    uint32_t now_ = 0;  // ms from the start: the waits so far
    TraceStep last_[kPortCount] = {};
    XInputPad lastPad_[kPortCount] = {};
};

}  // namespace

DiagnosticList ParseTrace(std::string_view text, Trace& trace)
{
    trace = Trace{};
    DiagnosticList errors;
    Parser parser(trace, errors);
    int line = 1;
    while (true) {
        const size_t end = text.find('\n');
        parser.Line(text.substr(0, end), line++);
        if (end == std::string_view::npos) break;
        text = text.substr(end + 1);
    }
    return errors;
}
