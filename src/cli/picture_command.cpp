// quillfen picture FILE -o OUT.bmp [options]: one picture loaded, fitted and converted as a
// build would, written as a BMP file. A window onto the imaging layer for people and tests.

#include <array>
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

constexpr const char* kPictureUsage = "Usage: quillfen picture FILE -o OUT.bmp [options]\n";

struct PictureRequest {
    std::string output;
    MovieSettings settings;
};

bool readFit(std::string_view text, MovieSettings& settings) {
    std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    auto w = readWholeNumber<int>(text.substr(0, x));
    auto h = readWholeNumber<int>(text.substr(x + 1));
    if (!w || !h || *w <= 0 || *h <= 0) return false;
    settings.resizeWidth = *w;
    settings.resizeHeight = *h;
    return true;
}

// Reads a whole number into `field`; false, field untouched, for anything else.
template <class Field>
bool readNumber(std::string_view text, Field& field, bool asFlag = false) {
    std::optional<int> number = readWholeNumber<int>(text);
    if (!number) return false;
    field = static_cast<Field>(asFlag ? *number != 0 : *number);
    return true;
}

constexpr std::array<CommandOption<PictureRequest>, 8> kPictureOptions = {{
    {"--output", "-o", "OUT.bmp", "the BMP file to write",
     [](PictureRequest& r, std::string_view v) { return !(r.output = v).empty(); }},
    {"--fit", "", "WxH", "fit to this size (else the picture keeps its own)",
     [](PictureRequest& r, std::string_view v) { return readFit(v, r.settings); }},
    {"--mode", "", "N", "resize mode: 1 letterbox, 2 stretch, other values fit",
     [](PictureRequest& r, std::string_view v) {
         return readNumber(v, r.settings.imageOptions.resizeMode);
     }},
    {"--crop", "", "C", "crop anchor: 0 none, B top rows, C middle rows, others bottom rows",
     [](PictureRequest& r, std::string_view v) {
         r.settings.imageOptions.crop = v.empty() ? '0' : v[0];
         return v.size() == 1;
     }},
    {"--background", "", "COLOUR", "colour of letterbox bands",
     [](PictureRequest& r, std::string_view v) {
         r.settings.imageOptions.background = parseColour(std::string(v));
         return true;
     }},
    {"--stereo", "", "0|1", "the picture is a side-by-side stereo pair",
     [](PictureRequest& r, std::string_view v) { return readNumber(v, r.settings.stereo, true); }},
    {"--convert", "", "N", "stereo conversion code, as the Script's convert",
     [](PictureRequest& r, std::string_view v) { return readNumber(v, r.settings.convert); }},
    {"--transpose", "", "0|1", "swap the two views of a stereo pair",
     [](PictureRequest& r, std::string_view v) {
         return readNumber(v, r.settings.imageOptions.transpose, true);
     }},
}};

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
        std::cout << kPictureUsage << commandOptionsHelp<PictureRequest>(kPictureOptions);
        return kExitSuccess;
    }
    PictureRequest request;
    std::string input;
    std::string error =
        readCommandOptions<PictureRequest>(args, kPictureOptions, request, input, "picture");
    if (error.empty() && request.output.empty()) error = "no -o OUT.bmp given";
    if (error.empty() && !namesBmpFile(request.output)) error = "the output must be a .bmp file";
    if (!error.empty()) {
        std::cerr << "quillfen picture: " << error << "\n"
                  << kPictureUsage << commandOptionsHelp<PictureRequest>(kPictureOptions);
        return kExitUsage;
    }
    FrameImage image = LoadPicture(input);
    if (!image) {
        std::cerr << "quillfen: cannot read picture '" << input << "': " << failureReason(input)
                  << "\n";
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
