#include "tools/quellpad-cfg/commands.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/quellpad-cfg/build_text.h"
#include "tools/quellpad-cfg/check_config.h"
#include "tools/quellpad-cfg/config_image.h"
#include "tools/quellpad-cfg/diff_config.h"
#include "tools/quellpad-cfg/joystick_trace.h"
#include "tools/quellpad-cfg/show_text.h"
#include "tools/quellpad-cfg/simulate.h"
#include "tools/quellpad-cfg/toml_text.h"
#include "tools/quellpad-cfg/tool_platform.h"

namespace {

// A file name as given, safe to print whatever bytes it holds.
std::string Shown(const std::string& path) { return EscapeControls(path); }

// A directory opens like a file on some systems and then fails to read.
bool NotADirectory(const std::string& path, std::ostream& err)
{
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) return true;
    err << Shown(path) << ": is a directory\n";
    return false;
}

bool ReadWhole(const std::string& path, std::string& text)
{
    std::ostringstream buffer;
    if (path == "-") {
        buffer << std::cin.rdbuf();
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in) return false;
        buffer << in.rdbuf();
        if (in.bad()) return false;
    }
    text = buffer.str();
    return true;
}

// The file as the program reads it, with the program's complaints passed on.
bool Load(const std::string& path, ConfigImage& image, std::ostream& err)
{
    if (!NotADirectory(path, err)) return false;
    const LoadOutcome outcome = LoadImage(path, image);
    if (outcome.kind == LoadOutcome::NOT_OPENED) {
        err << Shown(path) << ": cannot open\n";
        return false;
    }
    if (const char* message = OutcomeText(outcome)) {
        err << Shown(path) << ": the program would say " << QuoteBytes(message) << "\n";
    }
    return true;
}

}  // namespace

int RunShow(const std::string& file, bool all, std::ostream& out, std::ostream& err)
{
    ConfigImage image;
    if (!Load(file, image, err)) return kExitTrouble;
    out << ShowConfig(image, all);
    return kExitOk;
}

int RunBuild(const std::string& textFile, const std::string& output, std::ostream&, std::ostream& err)
{
    std::string text;
    if (!NotADirectory(textFile, err)) return kExitTrouble;
    // The configuration would replace the text it was built from.
    if (textFile != "-" && SameFile(textFile, output)) {
        err << Shown(output) << ": is the text being read; not written\n";
        return kExitTrouble;
    }
    // Checked before anything is created beside it.
    if (const std::string what = NotARegularFile(output); !what.empty()) {
        err << Shown(output) << ": is " << what << ", not a regular file; not written\n";
        return kExitTrouble;
    }
    if (!ReadWhole(textFile, text)) {
        err << Shown(textFile) << ": cannot read\n";
        return kExitTrouble;
    }
    const std::string source = textFile == "-" ? "<stdin>" : textFile;
    const BuildResult built = BuildConfig(text, source);
    if (!built.errors.empty()) {
        PrintDiagnostics(source, built.errors, err);
        err << Shown(output) << ": not written\n";
        return kExitTrouble;
    }
    const SaveOutcome saved = SaveImage(built.image, output);
    if (saved.kind != SaveOutcome::WRITTEN) {
        err << Shown(output) << ": " << OutcomeText(saved);
        // The program's words do not say why; a folder not made yet is the usual one.
        const std::filesystem::path folder = std::filesystem::path(output).parent_path();
        std::error_code error;
        if (saved.kind == SaveOutcome::NOT_CREATED && !folder.empty() && !std::filesystem::exists(folder, error)) {
            err << ", as the folder " << Shown(folder.string()) << " does not exist";
        }
        err << "\n";
        return kExitTrouble;
    }
    return kExitOk;
}

int RunCheck(const std::string& file, std::ostream& out, std::ostream& err)
{
    if (!NotADirectory(file, err)) return kExitTrouble;
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    ConfigImage image;
    if (!in || LoadImage(file, image).kind == LoadOutcome::NOT_OPENED) {
        err << Shown(file) << ": cannot open\n";
        return kExitTrouble;
    }
    const Findings findings = CheckConfig(image, uint64_t(in.tellg()));
    for (const std::string& finding : findings.shown) out << Shown(file) << ": " << finding << "\n";
    if (findings.more > 0) {
        out << Shown(file) << ": ... and " << findings.more
            << (findings.more == 1 ? " more finding\n" : " more findings\n");
    }
    return findings.shown.empty() ? kExitOk : kExitFindings;
}

int RunDiff(const std::string& a, const std::string& b, std::ostream& out, std::ostream& err)
{
    ConfigImage before, after;
    if (!Load(a, before, err) || !Load(b, after, err)) return kExitTrouble;
    const std::vector<std::string> differences = DiffConfigs(before, after);
    for (const std::string& line : differences) out << line << "\n";
    return differences.empty() ? kExitOk : kExitFindings;
}

int RunSimulate(const std::string& file, const std::string& traceFile, uint32_t doubleClickTime, std::ostream& out,
                std::ostream& err)
{
    std::string text;
    if (!NotADirectory(traceFile, err) || !NotADirectory(file, err)) return kExitTrouble;
    if (!ReadWhole(traceFile, text)) {
        err << Shown(traceFile) << ": cannot read\n";
        return kExitTrouble;
    }
    Trace trace;
    const DiagnosticList errors = ParseTrace(text, trace);
    if (!errors.empty()) {
        PrintDiagnostics(traceFile == "-" ? "<stdin>" : traceFile, errors, err);
        return kExitTrouble;
    }
    std::string().swap(text);  // the trace holds what it needs
    if (!Simulate(file, trace, doubleClickTime, out)) {
        err << Shown(file) << ": cannot open\n";
        return kExitTrouble;
    }
    return kExitOk;
}
