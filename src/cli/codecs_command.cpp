// quillfen codecs: the codec choices a build can use, one line each.

#include "cli/commands.h"
#include "media/codec_catalogue.h"

namespace quillfen {

int runCodecsCommand(const CommandArgs& args) {
    return runListingCommand(args, "Usage: quillfen codecs\n", codecListing());
}

}  // namespace quillfen
