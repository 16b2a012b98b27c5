// quillfen picture FILE -o OUT.bmp [options]: one picture loaded, fitted and converted as a
// build would, written as a BMP file. A window onto the imaging layer for people and tests.

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>

#include "base/colour.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "imaging/bmp_reader.h"
#include "imaging/picture_kind.h"
#include "imaging/picture_loader.h"
#include "imaging/resize.h"
#include "imaging/stereo.h"
#include "script/movie_settings.h"
#include "timeline/fit_settings.h"

namespace quillfen {
namespace {

constexpr const char* kPictureUsage =
    "Usage: quillfen picture FILE -o OUT.bmp [--fit WxH] [--mode N] [--crop C]\n"
    "                        [--background COLOUR] [--stereo 0|1] [--convert N]\n"
    "                        [--transpose 0|1]\n";

struct PictureRequest {
    std::string input, output;
    MovieSettings settings;
};

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

bool readFit(const std::string& text, MovieSettings& settings) {
    std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    auto w = wholeNumber(std::string_view(text).substr(0, x));
    auto h = wholeNumber(std::string_view(text).substr(x + 1));
    if (!w || !h || *w <= 0 || *h <= 0) return false;
    settings.resizeWidth = *w;
    settings.resizeHeight = *h;
    return true;
}

// Applies one option with its value; false for an unknown option or an unreadable value.
bool readOption(const std::string& name, const std::string& value, PictureRequest& request) {
    MovieSettings& s = request.settings;
    ImageOptions& o = s.imageOptions;
    if (name == "-o") {
        request.output = value;
        return !value.empty();
    }
    if (name == "--fit") return readFit(value, s);
    if (name == "--crop") {
        o.crop = value.empty() ? '0' : value[0];
        return value.size() == 1;
    }
    if (name == "--background") {
        o.background = parseColour(value);
        return true;
    }
    std::optional<int> number = wholeNumber(value);
    if (!number) return false;
    if (name == "--mode")
        o.resizeMode = *number;
    else if (name == "--stereo")
        s.stereo = *number != 0;
    else if (name == "--convert")
        s.convert = *number;
    else if (name == "--transpose")
        o.transpose = *number != 0;
    else
        return false;
    return true;
}

bool isPictureOption(std::string_view name) {
    for (std::string_view known : {"-o", "--fit", "--mode", "--crop", "--background", "--stereo",
                                   "--convert", "--transpose"})
        if (name == known) return true;
    return false;
}

/// Reads `args` into `request`; returns what is wrong with them, empty when nothing is.
std::string readArguments(const CommandArgs& args, PictureRequest& request) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.empty() && arg[0] == '-') {
            if (!isPictureOption(arg)) return "unknown option " + arg;
            if (i + 1 >= args.size()) return arg + " needs a value";
            if (!readOption(arg, args[i + 1], request))
                return "bad value '" + args[i + 1] + "' for " + arg;
            ++i;
        } else if (request.input.empty()) {
            request.input = arg;
        } else {
            return "more than one picture given";
        }
    }
    if (request.input.empty()) return "no picture given";
    if (request.output.empty()) return "no -o OUT.bmp given";
    return {};
}

// Only BMP is written; a file named otherwise would hold something other than its name says.
bool namesBmpFile(std::string_view name) {
    if (name.size() < 4) return false;
    std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'b' && (tail[2] | 0x20) == 'm' &&
           (tail[3] | 0x20) == 'p';
}

// Why a picture could not be read, when that can be told without the reader.
std::string failureReason(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return "No such file or directory";
    if (std::filesystem::is_directory(path, error)) return "Is a directory";
    if (PictureKindFromName(path) == PictureKind::none) return "not a BMP, JPEG or PNG file name";
    return "damaged or unsupported picture";
}

}  // namespace

int runPictureCommand(const CommandArgs& args) {
    if (asksForHelp(args)) {
        std::cout << kPictureUsage;
        return kExitSuccess;
    }
    PictureRequest request;
    std::string error = readArguments(args, request);
    if (error.empty() && !namesBmpFile(request.output)) error = "the output must be a .bmp file";
    if (!error.empty()) {
        std::cerr << "quillfen picture: " << error << "\n" << kPictureUsage;
        return kExitUsage;
    }
    FrameImage image = LoadPicture(request.input);
    if (!image) {
        std::cerr << "quillfen: cannot read picture '" << request.input
                  << "': " << failureReason(request.input) << "\n";
        return kExitFailure;
    }
    FitFrame(image, fitOptionsFor(request.settings));
    ConvertStereoFrame(image, stereoOptionsFor(request.settings));
    if (!WriteBmpFile(image, request.output)) {
        std::cerr << "quillfen: cannot write '" << request.output << "'\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quillfen
