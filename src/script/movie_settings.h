#pragma once
// The global values of one build, reset at its start and filled by the parser.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/colour.h"
#include "base/text_numbers.h"

namespace quillfen {

/// How every frame is fitted, its views swapped, mirrored and flipped.
struct ImageOptions {
    std::int32_t transpose = 0;
    std::int32_t mirrorLeft = 0;
    std::int32_t mirrorRight = 0;
    std::int32_t flipV = 0;
    std::int32_t resizeMode = 1;
    char crop = '0';
    ColourValue background = 0;
};

struct MovieSettings {
    std::int32_t frameWidth = 0;  // set from the first written frame
    std::int32_t frameHeight = 0;
    std::int32_t resizeWidth = 0;
    std::int32_t resizeHeight = 0;
    std::int32_t bitCount = 0;
    double frameRate = 25.0;
    ImageOptions imageOptions;
    /// 1 when every picture is a stereo pair (left view in the left half), else 0.
    std::int32_t stereo = 1;
    std::int32_t convert = -1;
    /// Folder from `path`, always ending in a separator; empty by default.
    std::string pictureFolder;
    /// Folder of the Script file, against which relative names are opened (empty: the
    /// current directory). Not part of the Script's values, so `reset` keeps it.
    std::string scriptFolder;
    /// Pan and zoom samples its window at sub-pixel positions instead of whole pixels. A
    /// choice of the command line or the window, not of the Script, so `reset` keeps it.
    bool smoothMotion = false;

    /// Back to the values every build starts from (scriptFolder and smoothMotion are kept).
    void reset() {
        std::string folder = std::move(scriptFolder);
        bool smooth = smoothMotion;
        *this = MovieSettings{};
        scriptFolder = std::move(folder);
        smoothMotion = smooth;
    }

    /// Frames for a duration at the current frame rate: trunc(seconds x rate + 0.5),
    /// saturated to the int range. Each kind applies its own minimum.
    int secondsToFrames(double seconds) const { return truncToInt(seconds * frameRate + 0.5); }
};

}  // namespace quillfen
