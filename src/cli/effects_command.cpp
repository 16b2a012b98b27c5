// quillfen effects: the transition effect catalogue, listed as the build's effect debug
// listing shows it.

#include <iostream>

#include "cli/command_options.h"
#include "cli/commands.h"
#include "imaging/effects/effect_registry.h"

namespace quillfen {

int runEffectsCommand(const CommandArgs& args) {
    constexpr const char* kUsage = "Usage: quillfen effects\n";
    if (asksForHelp(args)) {
        std::cout << kUsage;
        return kExitSuccess;
    }
    if (!args.empty()) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    std::cout << kEffectListHeader << '\n';
    for (const std::string& line : effectListingLines(builtinEffectCatalogue()))
        std::cout << line << '\n';
    std::cout.flush();
    return std::cout ? kExitSuccess : kExitFailure;
}

}  // namespace quillfen
