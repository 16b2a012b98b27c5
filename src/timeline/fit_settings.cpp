#include "timeline/fit_settings.h"

namespace quillfen {
namespace {

ResizeMode resizeModeOf(std::int32_t code) {
    switch (code) {
        case 1:
            return ResizeMode::letterbox;
        case 2:
            return ResizeMode::stretch;
        default:
            return ResizeMode::fit;
    }
}

CropAnchor cropAnchorOf(char code) {
    switch (code) {
        case '0':
            return CropAnchor::none;
        case 'B':
            return CropAnchor::top;
        case 'C':
            return CropAnchor::middle;
        default:
            return CropAnchor::bottom;
    }
}

}  // namespace

FitOptions fitOptionsFor(const MovieSettings& settings) {
    const ImageOptions& o = settings.imageOptions;
    FitOptions fit;
    fit.size = {settings.resizeWidth, settings.resizeHeight};
    fit.mode = resizeModeOf(o.resizeMode);
    fit.anchor = cropAnchorOf(o.crop);
    // The bands take the colour bits alone, so `none` gives white ones.
    fit.background = o.background & 0xFFFFFF;
    fit.stereoPairs = settings.stereo != 0;
    if (settings.convert == static_cast<int>(StereoConversion::halfWidth)) {
        fit.size.width /= 2;
        fit.mode = ResizeMode::stretch;
    }
    return fit;
}

StereoOptions stereoOptionsFor(const MovieSettings& settings) {
    return {static_cast<StereoConversion>(settings.convert), settings.imageOptions.transpose != 0};
}

}  // namespace quillfen
