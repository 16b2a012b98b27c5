// quillfen effects: the transition effect catalogue, listed as the build's effect debug
// listing shows it.

#include "cli/commands.h"
#include "imaging/effects/effect_registry.h"

namespace quillfen {

int runEffectsCommand(const CommandArgs& args) {
    std::vector<std::string> lines{std::string(kEffectListHeader)};
    for (std::string& line : effectListingLines(builtinEffectCatalogue()))
        lines.push_back(std::move(line));
    return runListingCommand(args, "Usage: quillfen effects\n", lines);
}

}  // namespace quillfen
