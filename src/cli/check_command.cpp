// quillfen check SCRIPT: "Check script" on the command line.

#include <iostream>

#include "cli/command_options.h"
#include "cli/command_session.h"
#include "cli/commands.h"

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
    CliHostOptions options;
    options.scriptName = args[0];
    CommandSession session(options);
    if (!session.loaded()) return kExitUsage;
    BuildOutcome outcome = session.driver().runBuild(session.script(), BuildMode::Check);
    std::cout.flush();
    // The listing is what check is run for; losing it must not look like success.
    if (!std::cout) {
        std::cerr << "quillfen: cannot write the listing to standard output\n";
        return kExitFailure;
    }
    return outcome.succeeded ? kExitSuccess : kExitFailure;
}

}  // namespace quillfen
