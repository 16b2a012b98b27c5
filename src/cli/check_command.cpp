// quillfen check SCRIPT: "Check script" on the command line.

#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "cli/cli_build_host.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "cli/script_file.h"
#include "editor/text_buffer.h"
#include "imaging/effects/effect_registry.h"
#include "output/build_driver.h"

namespace quillfen {

int runCheckCommand(const CommandArgs& args) {
    constexpr const char* kUsage = "Usage: quillfen check SCRIPT\n";
    if (asksForHelp(args)) {
        std::cout << kUsage;
        return kExitSuccess;
    }
    if (args.size() != 1 || args[0].empty() || args[0].front() == '-') {
        std::cerr << kUsage;
        return kExitUsage;
    }
    const std::string& scriptName = args[0];
    CCrystalTextBuffer script;
    if (!loadScriptFile(scriptName, script)) return kExitUsage;
    CliHostOptions options;
    options.scriptName = scriptName;
    options.colour = isatty(STDOUT_FILENO) != 0;
    CliBuildHost host(options, script, std::cout, std::cerr);
    BuildDriver driver(host, builtinEffectCatalogue(), programCaptionTail());
    driver.settings().scriptFolder = std::filesystem::path(scriptName).parent_path().string();
    BuildOutcome outcome = driver.runBuild(script, BuildMode::Check);
    std::cout.flush();
    // The listing is what check is run for; losing it must not look like success.
    if (!std::cout) {
        std::cerr << "quillfen: cannot write the listing to standard output\n";
        return kExitFailure;
    }
    return outcome.succeeded ? kExitSuccess : kExitFailure;
}

}  // namespace quillfen
