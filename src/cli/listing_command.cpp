// What the listing commands (codecs, effects) share: no arguments, one line per entry.

#include <iostream>

#include "cli/command_options.h"
#include "cli/commands.h"

namespace quillfen {

int runListingCommand(const CommandArgs& args, std::string_view usage,
                      const std::vector<std::string>& lines) {
    if (asksForHelp(args)) {
        std::cout << usage;
        return kExitSuccess;
    }
    if (!args.empty()) {
        std::cerr << usage;
        return kExitUsage;
    }
    for (const std::string& line : lines)
        std::cout << line << '\n';
    std::cout.flush();
    return std::cout ? kExitSuccess : kExitFailure;
}

}  // namespace quillfen
