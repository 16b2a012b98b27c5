// quillfen: the command line, a headless host of the build driver.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/app_start.h"
#include "cli/commands.h"
#include "imaging/frame_image.h"
#include "output/version_text.h"

namespace quillfen {

std::string helpText() {
    std::string text =
        "Usage: quillfen COMMAND [ARGUMENTS]\n"
        "       quillfen --help | --version\n"
        "       quillfen [--automation] [SCRIPT]   open the window (with SCRIPT loaded)\n\n"
        "Turns a Script of pictures and commands into a movie.\n\nCommands:\n";
    for (const CliCommand& command : kCommands) {
        std::string head = "  " + std::string(command.name) + " " + std::string(command.usage);
        if (head.size() < 24) head.resize(24, ' ');
        text += head + "  " + std::string(command.summary) + "\n";
    }
    return text;
}

namespace {

bool displayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    return false;
}

// A bare word that is no command and no file is far more likely a mistyped command than a
// Script name; it gets the usage error instead of a window.
bool looksLikeScript(const std::string& arg) {
    return arg.find_first_of("./") != std::string::npos || std::filesystem::exists(arg);
}

// The window: no arguments, SCRIPT, or --automation [SCRIPT]. QApplication exists only here,
// so the commands above never need a display.
std::optional<int> startWindow(int argc, char** argv) {
    std::optional<WindowStart> start = windowStartFromArgs(CommandArgs(argv + 1, argv + argc));
    if (!start || (!start->script.empty() && !looksLikeScript(start->script))) return std::nullopt;
    if (!displayAvailable()) {
        std::cerr << "quillfen: no display to open the window on (see quillfen --help for the "
                     "commands)\n";
        return kExitUsage;
    }
    return runWindow(argc, argv, *start);
}

int dispatch(int argc, char** argv) {
    if (argc < 2) return *startWindow(argc, argv);
    std::string name = argv[1];
    if (name == "--help" || name == "-h") {
        std::cout << helpText();
        return kExitSuccess;
    }
    if (name == "--version") {
        std::cout << "quillfen " << programVersionText() << "\n";
        return kExitSuccess;
    }
    for (const CliCommand& command : kCommands) {
        if (command.name == name) return command.run(CommandArgs(argv + 2, argv + argc));
    }
    if (std::optional<int> status = startWindow(argc, argv)) return *status;
    std::cerr << "quillfen: unknown command '" << name << "' (see quillfen --help)\n";
    return kExitUsage;
}

}  // namespace
}  // namespace quillfen

int main(int argc, char** argv) {
    quillfen::ReuseFrameBlocks();
    return quillfen::dispatch(argc, argv);
}
