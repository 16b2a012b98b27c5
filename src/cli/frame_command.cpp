// quillfen frame SCRIPT: one movie frame exactly as `quillfen build` writes it, as a picture.

#include <array>
#include <iostream>

#include "cli/command_options.h"
#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/png_output.h"
#include "imaging/bmp_reader.h"

namespace quillfen {
namespace {

struct FrameArgs {
    FrameRequest request;
    bool timeGiven = false;
    std::string output;
};

constexpr std::array<CommandOption<FrameArgs>, 3> kFrameOptions = {{
    {"--index", "", "N", "movie frame N, counted from 0",
     [](FrameArgs& a, std::string_view v) {
         a.request.index = readWholeNumber<std::int64_t>(v);
         return a.request.index.has_value() && *a.request.index >= 0;
     }},
    {"--at", "", "SECONDS", "the frame shown at that time",
     [](FrameArgs& a, std::string_view v) {
         std::string text(v);
         char* end = nullptr;
         a.request.seconds = std::strtod(text.c_str(), &end);
         a.timeGiven = true;
         return !text.empty() && *end == '\0' && a.request.seconds >= 0;
     }},
    {"--output", "-o", "OUT", "the picture to write: a .png or .bmp name",
     [](FrameArgs& a, std::string_view v) { return !(a.output = v).empty(); }},
}};

bool endsWith(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    std::string_view end = text.substr(text.size() - tail.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if ((end[i] | 0x20) != tail[i]) return false;
    }
    return true;
}

std::string checkArgs(const FrameArgs& args) {
    if (args.request.index.has_value() == args.timeGiven) return "give one of --index and --at";
    if (args.output.empty()) return "no -o OUT given";
    if (!endsWith(args.output, ".png") && !endsWith(args.output, ".bmp"))
        return "the output must be a .png or .bmp file";
    return {};
}

}  // namespace

int runFrameCommand(const CommandArgs& list) {
    constexpr const char* kUsage =
        "Usage: quillfen frame SCRIPT (--index N | --at SECONDS) -o OUT\n";
    if (asksForHelp(list)) {
        std::cout << kUsage << commandOptionsHelp<FrameArgs>(kFrameOptions);
        return kExitSuccess;
    }
    FrameArgs args;
    std::string scriptName;
    std::string error = readCommandOptions<FrameArgs>(list, kFrameOptions, args, scriptName);
    if (error.empty()) error = checkArgs(args);
    if (!error.empty()) {
        std::cerr << "quillfen frame: " << error << "\n"
                  << kUsage << commandOptionsHelp<FrameArgs>(kFrameOptions);
        return kExitUsage;
    }
    CliHostOptions options;
    options.scriptName = scriptName;
    CommandSession session(options);
    if (!session.loaded()) return kExitUsage;
    FrameImage frame = session.driver().renderFrame(session.script(), args.request);
    std::cout.flush();
    if (!frame) return kExitFailure;
    bool written = endsWith(args.output, ".png") ? WritePngFile(frame, args.output)
                                                 : WriteBmpFile(frame, args.output);
    if (!written) {
        std::cerr << "quillfen: cannot write '" << args.output << "'\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quillfen
