// quillfen codecs: the codec choices a build can use, one line each.

#include <iostream>

#include "cli/commands.h"
#include "output/codec_catalogue.h"

namespace quillfen {

int runCodecsCommand(const CommandArgs& args) {
    if (!args.empty()) {
        std::cerr << "Usage: quillfen codecs\n";
        return kExitUsage;
    }
    for (const std::string& line : codecListing())
        std::cout << line << '\n';
    std::cout.flush();
    return std::cout ? kExitSuccess : kExitFailure;
}

}  // namespace quillfen
