#pragma once
// What the fitting and stereo kernels are asked to do, as plain values: the imaging layer
// knows nothing of the Script that chose them.

#include "base/colour.h"

namespace quillfen {

/// How a picture is brought to the output size.
enum class ResizeMode {
    letterbox,  ///< scaled to fit, the rest filled with the background colour
    stretch,    ///< scaled to the whole output, the aspect ratio given up
    fit,        ///< scaled to fit without padding: smaller than the output along one axis
};

/// Which rows of a picture narrower than the output are kept when it is cropped to the output's
/// aspect ratio instead of scaled whole.
enum class CropAnchor {
    none,  ///< no cropping: the whole picture is scaled
    top,
    middle,
    bottom,
};

/// A stereo pair combined into one half-width picture. The values are the codes the Script
/// uses: negative codes convert nothing, and a code without a name here gives black.
enum class StereoConversion : int {
    none = -1,
    greyRedGreen = 0,
    greyRedBlue = 1,
    colourRedCyan = 2,
    rowInterleave = 3,  ///< even memory rows from the left view, odd ones from the right
    greyRedCyan = 5,
    colourYellowBlue = 6,
    redsRedCyan = 7,  ///< the left view's red, the right view's red and blue
    columnInterleave = 8,
    halfColourRedCyan = 10,
    colourGreenMagenta = 11,
    mixedRedCyan = 12,  ///< a colour matrix over both views
    alternatingColumns = 14,
    mixedRedCyanFromGreen = 15,  ///< as mixedRedCyan, each view's red replaced by its green
    halfColourYellowBlue = 16,
    leftView = 19,
    /// Not a conversion: the pair is fitted into half the output width, stretched, and kept.
    halfWidth = 20,
};

/// A size in pixels; zero in either direction means none.
struct FrameSize {
    int width = 0;
    int height = 0;

    bool empty() const { return width == 0 || height == 0; }
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

/// Everything fitting a picture to the output takes.
struct FitOptions {
    FrameSize size;  ///< the output size; empty: pictures keep their own size
    ResizeMode mode = ResizeMode::letterbox;
    CropAnchor anchor = CropAnchor::none;
    /// The letterbox bands (kNoColour: black).
    ColourValue background = 0;
    /// Pictures are stereo pairs: in letterbox mode each view is fitted into its own half.
    bool stereoPairs = false;

    friend bool operator==(const FitOptions&, const FitOptions&) = default;
};

/// Everything the stereo step after fitting takes.
struct StereoOptions {
    StereoConversion conversion = StereoConversion::none;
    /// The views swap roles (the right one is taken as the left).
    bool swapViews = false;
};

}  // namespace quillfen
