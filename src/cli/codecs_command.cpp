// quillfen codecs: the codec choices a build can use, one line each.

#include <iostream>

#include "cli/command_options.h"
#include "cli/commands.h"
#include "output/codec_catalogue.h"

namespace quillfen {

int runCodecsCommand(const CommandArgs& args) {
    constexpr const char* kUsage = "Usage: quillfen codecs\n";
    if (asksForHelp(args)) {
        std::cout << kUsage;
        return kExitSuccess;
    }
    if (!args.empty()) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    for (const std::string& line : codecListing())
        std::cout << line << '\n';
    std::cout.flush();
    return std::cout ? kExitSuccess : kExitFailure;
}

}  // namespace quillfen
