// quillfen: the command line, a headless host of the build driver.

#include <cstdio>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "output/version_text.h"

namespace quillfen {

std::string helpText() {
    std::string text =
        "Usage: quillfen COMMAND [ARGUMENTS]\n"
        "       quillfen --help | --version\n\n"
        "Turns a Script of pictures and commands into a movie.\n\nCommands:\n";
    for (const CliCommand& command : kCommands) {
        std::string head = "  " + std::string(command.name) + " " + std::string(command.usage);
        if (head.size() < 24) head.resize(24, ' ');
        text += head + "  " + std::string(command.summary) + "\n";
    }
    return text;
}

namespace {

int dispatch(int argc, char** argv) {
    if (argc < 2) {
        std::cout << helpText();
        return kExitSuccess;
    }
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
    std::cerr << "quillfen: unknown command '" << name << "' (see quillfen --help)\n";
    return kExitUsage;
}

}  // namespace
}  // namespace quillfen

int main(int argc, char** argv) {
    return quillfen::dispatch(argc, argv);
}
