#include "tests/fuzz/text_fuzz_input.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "tools/quellpad-cfg/build_text.h"
#include "tools/quellpad-cfg/config_image.h"
#include "tools/quellpad-cfg/diagnostic.h"
#include "tools/quellpad-cfg/joystick_trace.h"
#include "tools/quellpad-cfg/show_text.h"
#include "tools/quellpad-cfg/simulate.h"

namespace {

// No message line, however hostile the text, is longer than this: a name,
// two values cut to 60 characters (each byte escaped at worst) and words.
constexpr size_t kLongestMessageLine = 1200;

// Each line as EscapeControls leaves it: nothing a terminal would act on.
const char* Printable(std::string_view text)
{
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        if (EscapeControls(line) != line) return "a line holds a control byte or a byte that is no character";
        start = end + 1;
    }
    return nullptr;
}

const char* CheckMessages(const DiagnosticList& errors)
{
    std::ostringstream err;
    PrintDiagnostics("fuzz", errors, err);
    const std::string text = err.str();
    size_t lines = 0, start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1, ++lines) {
        if (end - start > kLongestMessageLine) return "a message line is too long";
    }
    if (start != text.size()) return "the messages do not end with a line break";
    if (lines > DiagnosticList::kMaxShownErrors + 1) return "more messages than the cap";
    for (const Diagnostic& d : errors) {
        if (d.line < 1 || d.column < 1) return "a message has no place in the text";
    }
    return Printable(text);
}

// A configuration with keys, text and mouse actions on every slot of port 1
// and a few of port 2, saved once for the whole run.
std::string SaveTraceConfig()
{
    std::string text = "continuous = true\ndelay = 3\n";
    const char* kinds[] = {"sendKey = true\nkeyCode = \"cursor right\"\nshift = true\n",
                           "sendText = true\ntext = \"a^B \\u0007z\"\n",
                           "sendMouse = true\nmouseAction = \"right double click\"\n",
                           "sendMouse = true\nmouseAction = \"move left\"\n"};
    for (int slot = 1; slot <= 32; ++slot) {
        text += "[port1.button" + std::to_string(slot) + "]\n" + kinds[slot % 4];
    }
    for (const char* axis : {"x", "y", "z", "r", "u", "v"}) {
        text += std::string("[port2.axis_") + axis + "_plus]\n" + kinds[0];
        text += std::string("[port1.axis_") + axis + "_minus]\n" + kinds[3];
    }
    const BuildResult built = BuildConfig(text, "trace-config");
    if (!built.errors.empty()) std::abort();
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("quellpad-fuzz-trace-" + std::to_string(getpid()) + ".cfg")).string();
    if (SaveImage(built.image, file).kind != SaveOutcome::WRITTEN) std::abort();
    return file;
}

const std::string& TraceConfig()
{
    static const std::string path = SaveTraceConfig();
    // Registered after path is made, so it runs before path is destroyed.
    static const bool removed = (std::atexit([] { std::remove(TraceConfig().c_str()); }), true);
    (void)removed;
    return path;
}

}  // namespace

const char* RunTomlFuzzInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const BuildResult built = BuildConfig(text, "fuzz");
    if (!built.errors.empty()) return CheckMessages(built.errors);
    const std::string shown = ShowConfig(built.image, false);
    const BuildResult again = BuildConfig(shown, "shown");
    if (!again.errors.empty()) return "the shown text does not build";
    if (std::memcmp(built.image.MappingTable, again.image.MappingTable, sizeof built.image.MappingTable) != 0 ||
        std::memcmp(built.image.layers, again.image.layers, sizeof built.image.layers) != 0 ||
        std::memcmp(built.image.behaviour, again.image.behaviour, sizeof built.image.behaviour) != 0 ||
        std::memcmp(&built.image.settings, &again.image.settings, sizeof built.image.settings) != 0) {
        return "the shown text builds another configuration";
    }
    return nullptr;
}

const char* RunTraceFuzzInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Trace trace;
    const DiagnosticList errors = ParseTrace(text, trace);
    if (!errors.empty()) return CheckMessages(errors);
    std::ostringstream out;
    if (!Simulate(TraceConfig(), trace, 400, out)) return "the configuration did not open";
    return Printable(out.str());
}
