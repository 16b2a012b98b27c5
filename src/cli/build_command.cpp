// quillfen build SCRIPT: "&Run" on the command line, writing the movie file.

#include <unistd.h>

#include <array>
#include <filesystem>
#include <iostream>

#include "cli/command_options.h"
#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/interrupt_request.h"

namespace quillfen {
namespace {

struct BuildArgs {
    std::string movieFile;
    CodecRequest codec;
    bool overwrite = false;
    bool quiet = false;
    bool smoothMotion = false;
    bool mute = false;
};

template <class Number>
bool readInto(std::optional<Number>& field, std::string_view text) {
    field = readWholeNumber<Number>(text);
    return field.has_value();
}

constexpr std::array<CommandOption<BuildArgs>, 9> kBuildOptions = {{
    {"--output", "-o", "MOVIE", "the movie file (else the Script's moviefile)",
     [](BuildArgs& a, std::string_view v) { return !(a.movieFile = v).empty(); }},
    {"--codec", "", "NAME", "the codec ('quillfen codecs' lists them)",
     [](BuildArgs& a, std::string_view v) { return !(a.codec.name = std::string(v))->empty(); }},
    {"--quality", "", "Q", "quality 0 (smallest) to 100 (best)",
     [](BuildArgs& a, std::string_view v) { return readInto(a.codec.quality, v); }},
    {"--keyint", "", "N", "a key frame at least every N frames",
     [](BuildArgs& a, std::string_view v) { return readInto(a.codec.keyFrameInterval, v); }},
    {"--bitrate", "", "KBPS", "target data rate in kbit/s (0: constant quality)",
     [](BuildArgs& a, std::string_view v) { return readInto(a.codec.dataRateKbps, v); }},
    {"--overwrite", "-y", "", "replace an existing movie file without asking",
     [](BuildArgs& a, std::string_view) { return a.overwrite = true; }},
    {"--quiet", "", "", "no progress line",
     [](BuildArgs& a, std::string_view) { return a.quiet = true; }},
    {"--smooth-motion", "", "", "pan and zoom at sub-pixel positions (no stepping)",
     [](BuildArgs& a, std::string_view) { return a.smoothMotion = true; }},
    {"--mute", "", "", "no sound stream, whatever the Script's soundtrack says",
     [](BuildArgs& a, std::string_view) { return a.mute = true; }},
}};

int exitStatusOf(const BuildOutcome& outcome) {
    switch (outcome.movie) {
        case MovieEnd::Completed:
            return kExitSuccess;
        case MovieEnd::Stopped:
            // 128 + the signal, as a shell reports a program the signal ended.
            return InterruptRequest::signalNumber() > 0 ? 128 + InterruptRequest::signalNumber()
                                                        : kExitStopped;
        default:
            return kExitFailure;
    }
}

}  // namespace

int runBuildCommand(const CommandArgs& list) {
    constexpr const char* kUsage = "Usage: quillfen build SCRIPT [options]\n";
    if (asksForHelp(list)) {
        std::cout << kUsage << commandOptionsHelp<BuildArgs>(kBuildOptions);
        return kExitSuccess;
    }
    BuildArgs args;
    std::string scriptName;
    std::string error = readCommandOptions<BuildArgs>(list, kBuildOptions, args, scriptName);
    if (!error.empty()) {
        std::cerr << "quillfen build: " << error << "\n"
                  << kUsage << commandOptionsHelp<BuildArgs>(kBuildOptions);
        return kExitUsage;
    }
    InterruptRequest interrupt;
    CliHostOptions options;
    options.scriptName = scriptName;
    options.overwrite = args.overwrite;
    options.interactive = isatty(STDIN_FILENO) != 0 && isatty(STDERR_FILENO) != 0;
    options.progress = !args.quiet && isatty(STDERR_FILENO) != 0;
    options.movieFile = args.movieFile;
    options.codec = args.codec;
    options.stopFlag = &InterruptRequest::flag();
    options.answers = &std::cin;
    CommandSession session(options);
    if (!session.loaded()) return kExitUsage;
    BuildDriver& driver = session.driver();
    driver.settings().smoothMotion = args.smoothMotion;
    driver.setMute(args.mute);
    // -o is relative to the current directory, a moviefile name to the Script's folder.
    if (!args.movieFile.empty())
        driver.forceOutputFile(std::filesystem::absolute(args.movieFile).string());
    BuildOutcome outcome = driver.runBuild(session.script(), BuildMode::Run);
    std::cout.flush();
    // Every Element was taken, but a file without a single frame is no playable movie.
    if (outcome.movie == MovieEnd::Completed && outcome.framesWritten == 0) {
        std::cerr << "quillfen: no frame was written, so the movie file holds no movie\n";
        return kExitFailure;
    }
    return exitStatusOf(outcome);
}

}  // namespace quillfen
