#include "timeline/pip_element.h"

#include <algorithm>
#include <vector>

#include "base/text_numbers.h"
#include "imaging/dib_convert.h"
#include "imaging/resize.h"
#include "imaging/stretch.h"
#include "timeline/fit_settings.h"

namespace quillfen {
namespace {

// Script numbers reach the ends of the int range. Every edge is kept where no sum of
// coordinates in the drawing can overflow; this only cuts what lies far off the frame.
constexpr long long kEdgeLimit = 1LL << 30;

PixelRect boundedRect(long long x, long long y, long long width, long long height) {
    auto edge = [](long long v) { return std::clamp(v, -kEdgeLimit, kEdgeLimit); };
    const long long left = edge(x), top = edge(y);
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(edge(x + width) - left),
            static_cast<int>(edge(y + height) - top)};
}

}  // namespace

PipElement::PipElement(int lineIndex, const MovieSettings& movieSettings,
                       std::string_view parameters)
    : TwoInputElement(lineIndex, movieSettings) {
    kind = ElementKind::Pip;
    std::vector<std::string_view> groups = splitPieces(parameters, '|');
    double seconds = groups.size() > 2 ? readDouble(groups[2]) : 0.0;
    nbFrames_ = nbAVIFrames_ = std::max(1, settings.secondsToFrames(seconds));
    if (!groups.empty()) readPlacement(groups[0], first, seconds);
    if (groups.size() > 1) readPlacement(groups[1], second, seconds);
    valid = true;
}

void PipElement::readPlacement(std::string_view text, PipPlacement& placement,
                               double& seconds) const {
    std::vector<std::string_view> values = splitPieces(text, ',');
    GeometryValue* geometry[] = {&placement.x, &placement.y, &placement.width, &placement.shift};
    for (std::size_t i = 0; i < 4 && i < values.size(); ++i)
        *geometry[i] = GeometryValue::read(values[i]);
    if (values.size() > 4) seconds = readDouble(values[4]);
    placement.frames = seconds > 0 ? settings.secondsToFrames(seconds) : 0;
    if (values.size() > 5) placement.extra = readInt(values[5]);
}

void PipElement::reset() {
    TwoInputElement::reset();
    kind = ElementKind::Pip;
    first = second = PipPlacement{};
    keptPrevFrame.reset();
    keptNextFrame.reset();
}

void PipElement::layoutPlacements() {
    // Without a resize the movie takes the size of its pictures: measure against the base.
    int width = settings.resizeWidth > 0 ? settings.resizeWidth : keptPrevFrame.width();
    const int height = settings.resizeHeight > 0 ? settings.resizeHeight : keptPrevFrame.height();
    if (settings.stereo == 1) width /= 2;
    if (settings.convert == 20) width /= 2;
    for (PipPlacement* placement : {&first, &second}) {
        placement->x.layout(width);
        placement->y.layout(height);
        placement->width.layout(width);
        placement->shift.layout(width);
    }
}

void PipElement::takePicture(SourceElement* neighbour, bool still, FrameImage& kept) {
    if (!neighbour) return;
    if (still && !firstFrame_) {
        neighbour->dropFrame();
        return;
    }
    FrameImage picture = neighbour->nextFrame();
    if (!picture) return;  // ran out: keep showing its last picture
    FitFrame(picture, fitOptionsFor(settings));
    kept = std::move(picture);
}

FrameImage PipElement::drawInset(const FrameImage& base, const FrameImage& inset) const {
    const int width = base.width();
    FrameImage result = DibTo32(base);
    if (!result) return {};
    PixelTarget target = frameTarget(result);
    const int insetWidth = inset.width(), insetHeight = inset.height();
    if (insetWidth <= 0 || insetHeight <= 0) return result;
    const bool stereo = settings.stereo == 1;
    const int drawnWidth = first.width.pixels;
    const int drawnHeight =
        roundHalfUp(static_cast<double>(insetHeight) / insetWidth * (stereo ? 2 : 1) * drawnWidth);
    const PixelRect rect = boundedRect(first.x.pixels, first.y.pixels, drawnWidth, drawnHeight);
    if (!stereo) {
        StretchInto(inset, {0, 0, double(insetWidth), double(insetHeight)}, target, rect,
                    StretchMode::halftone);
        return result;
    }
    // Each view of the inset comes from its own half and goes into its own half, so the
    // averaging never mixes the two views.
    const int half = insetWidth / 2;
    StretchInto(inset, {0, 0, double(half), double(insetHeight)}, target, rect,
                StretchMode::halftone);
    const PixelRect right =
        boundedRect(static_cast<long long>(first.x.pixels) + first.shift.pixels + width / 2,
                    first.y.pixels, drawnWidth, drawnHeight);
    StretchInto(inset, {double(half), 0, double(half), double(insetHeight)}, target, right,
                StretchMode::halftone);
    return result;
}

FrameImage PipElement::nextFrame() {
    if (nbFrames_ <= 0) return {};
    --nbFrames_;
    if (firstFrame_) {
        prevIsStill = prev && isStillKind(prev->kind);
        nextIsStill = next && isStillKind(next->kind);
    }
    takePicture(prev, prevIsStill, keptPrevFrame);
    takePicture(next, nextIsStill, keptNextFrame);
    if (firstFrame_) layoutPlacements();
    firstFrame_ = false;
    FrameImage result;
    if (keptPrevFrame && keptNextFrame) result = drawInset(keptPrevFrame, keptNextFrame);
    if (nbFrames_ == 0) {  // spent: the kept pictures are of no further use
        keptPrevFrame.reset();
        keptNextFrame.reset();
    }
    return result;
}

bool PipElement::nextMovieFrameRepeats() const {
    return !firstFrame_ && prevIsStill && nextIsStill && keptPrevFrame && keptNextFrame &&
           nbAVIFrames_ > 0 && nbFrames_ > 0;
}

void PipElement::repeatMovieFrame() {
    --nbAVIFrames_;
    --nbFrames_;
    // The still neighbours give up a frame each, as when the frame is drawn.
    if (prev) prev->dropFrame();
    if (next) next->dropFrame();
    if (nbFrames_ == 0) {
        keptPrevFrame.reset();
        keptNextFrame.reset();
    }
}

std::string PipElement::describe() const {
    return dumpHead("PIP\t\t") + "  #" + prevLineText() + " and #" + nextLineText();
}

}  // namespace quillfen
