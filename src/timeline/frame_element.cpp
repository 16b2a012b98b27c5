#include "timeline/frame_element.h"

#include <algorithm>
#include <vector>

#include "base/text_numbers.h"
#include "imaging/dib_ops.h"

namespace quillfen {

FrameElement::FrameElement(int lineIndex, const MovieSettings& movieSettings,
                           std::string_view parameters)
    : SourceElement(lineIndex, movieSettings) {
    kind = ElementKind::Frame;
    width = settings.resizeWidth;
    height = settings.resizeHeight;
    std::vector<std::string_view> groups = splitPieces(parameters, '|');
    if (!groups.empty()) colour = parseColour(groups[0]);
    double seconds = groups.size() > 1 ? readDouble(groups[1]) : 0.0;
    // A negative duration would take frames off the movie's total.
    nbFrames_ = nbAVIFrames_ = std::max(0, settings.secondsToFrames(seconds));
    valid = true;
}

void FrameElement::reset() {
    SourceElement::reset();
    kind = ElementKind::Frame;
    width = height = 0;
    colour = 0;
}

FrameImage FrameElement::nextFrame() {
    if (nbFrames_ <= 0) {
        if (nbFrames_ == 0) cachedPicture_.reset();
        return {};
    }
    --nbFrames_;
    if (firstFrame_) {
        // kNoColour leaves the blank black, as "none" asks.
        cachedPicture_ = DibCreateBlank(width, height, 24, colour);
        firstFrame_ = false;
    }
    FrameImage frame = DibCopy(cachedPicture_);
    if (nbFrames_ == 0) cachedPicture_.reset();
    return frame;
}

std::string FrameElement::describe() const {
    return dumpHead("Frame\t\t") + formatText("  color:%06x", colour);
}

}  // namespace quillfen
