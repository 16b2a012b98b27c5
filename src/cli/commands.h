#pragma once
// The subcommands of `quillfen`. Each is `int runXxxCommand(args)` in its own file, taking the
// arguments after its name and returning the exit status. To add one: declare it here and
// add one line to kCommands.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

using CommandArgs = std::vector<std::string>;

int runCheckCommand(const CommandArgs& args);
int runPictureCommand(const CommandArgs& args);
int runCodecsCommand(const CommandArgs& args);
int runEffectsCommand(const CommandArgs& args);
int runBuildCommand(const CommandArgs& args);
int runFrameCommand(const CommandArgs& args);

struct CliCommand {
    std::string_view name;
    std::string_view usage;    // arguments, as --help shows them
    std::string_view summary;  // one line for --help
    int (*run)(const CommandArgs& args);
};

inline constexpr std::array kCommands = {
    CliCommand{"build", "SCRIPT [-o MOVIE] [options]", "render SCRIPT into a movie file",
               runBuildCommand},
    CliCommand{"frame", "SCRIPT (--index N | --at S) -o OUT.png",
               "render one movie frame as the build writes it", runFrameCommand},
    CliCommand{"check", "SCRIPT", "parse SCRIPT, link its timeline and list it", runCheckCommand},
    CliCommand{"picture", "FILE -o OUT.bmp", "load, fit and convert one picture as a build would",
               runPictureCommand},
    CliCommand{"codecs", "", "list the codec choices and the containers each suits",
               runCodecsCommand},
    CliCommand{"effects", "", "list the transition effects with their class ids",
               runEffectsCommand},
};

/// Exit statuses shared by the commands.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;    // the Script has an error
inline constexpr int kExitUsage = 2;      // bad arguments or an unreadable file
inline constexpr int kExitStopped = 130;  // a build stopped by Ctrl+C (128 + SIGINT)

/// The --help text: every command of kCommands.
std::string helpText();

/// A command without arguments that prints `lines`: `usage` for --help, a usage error for
/// any argument, a failure when the listing cannot be written.
int runListingCommand(const CommandArgs& args, std::string_view usage,
                      const std::vector<std::string>& lines);

}  // namespace quillfen
