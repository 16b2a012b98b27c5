// quillfen effects: the transition effect catalogue, listed as the build's effect debug
// listing shows it.

#include <iostream>

#include "cli/commands.h"
#include "imaging/effects/effect_registry.h"

namespace quillfen {

int runEffectsCommand(const CommandArgs& args) {
    if (!args.empty()) {
        std::cerr << "Usage: quillfen effects\n";
        return kExitUsage;
    }
    std::cout << kEffectListHeader << '\n';
    for (const std::string& line : effectListingLines(builtinEffectCatalogue()))
        std::cout << line << '\n';
    std::cout.flush();
    return std::cout ? kExitSuccess : kExitFailure;
}

}  // namespace quillfen
