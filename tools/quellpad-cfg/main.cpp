// quellpad-cfg: Quellpad's configuration file as readable text, checked,
// compared and tried out without a joystick.
#include <iostream>

#include <CLI/CLI.hpp>

#include "tools/quellpad-cfg/commands.h"
#include "tools/quellpad-cfg/diagnostic.h"

int main(int argc, char** argv)
{
    CLI::App app{"Quellpad's configuration file as TOML: show, build, check, diff and simulate."};
    app.name("quellpad-cfg");
    // On Windows CLI11 would take /tmp/a.toml for a /tmp option; paths win.
    app.allow_windows_style_options(false);
    app.require_subcommand(1);
    int status = kExitOk;

    std::string file, text, output, other, trace;
    bool all = false;
    uint32_t doubleClickTime = 500;

    auto* show = app.add_subcommand("show", "Print the configuration FILE as TOML.");
    show->add_option("FILE", file, "configuration file (6724 bytes, and any chunks after them)")->required();
    show->add_flag("--all", all, "a table for every slot, also the empty ones");
    show->callback([&] { status = RunShow(file, all, std::cout, std::cerr); });

    auto* build = app.add_subcommand("build", "Write the configuration that the TOML file TEXT describes.");
    build->add_option("TEXT", text, "TOML file, or - for standard input")->required();
    build->add_option("-o,--output", output,
                      "configuration file to write: a new name or a regular file, replaced only when TEXT is good")
        ->required();
    build->callback([&] { status = RunBuild(text, output, std::cout, std::cerr); });

    auto* check = app.add_subcommand("check", "Report what in FILE the editor would never have written, and damaged or unknown chunks.");
    check->add_option("FILE", file, "configuration file")->required();
    check->callback([&] { status = RunCheck(file, std::cout, std::cerr); });

    auto* diff = app.add_subcommand("diff", "Print the settings and binding fields in which A and B differ.");
    diff->add_option("A", file, "configuration file")->required();
    diff->add_option("B", other, "configuration file")->required();
    diff->callback([&] { status = RunDiff(file, other, std::cout, std::cerr); });

    auto* simulate =
        app.add_subcommand("simulate", "Run the joystick TRACE through the engine with FILE and print the input.");
    simulate->add_option("FILE", file, "configuration file")->required();
    simulate->add_option("TRACE", trace, "joystick trace, or - for standard input")->required();
    simulate->add_option("--double-click-time", doubleClickTime, "system double-click time in ms")
        ->capture_default_str();
    simulate->callback([&] { status = RunSimulate(file, trace, doubleClickTime, std::cout, std::cerr); });

    // CLI11 would only say that a command is required.
    if (argc > 1 && argv[1][0] != '-' && app.get_subcommands([&](CLI::App* command) {
            return command->get_name() == argv[1];
        }).empty()) {
        std::cerr << "quellpad-cfg: unknown command " << QuoteWord(argv[1])
                  << "; the commands are show, build, check, diff and simulate\n";
        return kExitTrouble;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? kExitOk : kExitTrouble;
    }
    return status;
}
