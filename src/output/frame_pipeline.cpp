#include "output/frame_pipeline.h"

#include "imaging/dib_convert.h"
#include "imaging/dib_ops.h"
#include "imaging/resize.h"
#include "imaging/stereo.h"
#include "timeline/fit_settings.h"

namespace quillfen {
namespace {

// The operations return a new image or none; none (a refusal) keeps the frame in hand.
void replaceWith(FrameImage& frame, FrameImage result) {
    if (result) frame = std::move(result);
}

}  // namespace

FrameImage FramePipeline::process(FrameImage frame, const DebugCaptionInfo& caption) const {
    if (!frame) return frame;
    FitFrame(frame, fitOptionsFor(settings_));
    ConvertStereoFrame(frame, stereoOptionsFor(settings_));
    if (!overlays_.empty()) frame = DrawTextOverlays(std::move(frame), overlays_);
    mirror(frame);
    if (settings_.imageOptions.flipV != 0) replaceWith(frame, DibFlipVertical(frame));
    // The writer reduces plain 32-bit rows itself; the debug caption is drawn on 24 bits.
    bool plain32 = frame.bitCount() == 32 && frame.header().biCompression == kBiRgb;
    if (!plain32 || debugCaption_) reduceTo24Bits(frame);
    if (debugCaption_) frame = drawDebugCaption(std::move(frame), caption);
    return frame;
}

void FramePipeline::mirror(FrameImage& frame) const {
    const ImageOptions& options = settings_.imageOptions;
    if (options.mirrorLeft == 0 && options.mirrorRight == 0) return;
    if (settings_.stereo == 1) {
        MirrorViews(frame, options.mirrorLeft != 0, options.mirrorRight != 0);
    } else {
        replaceWith(frame, DibMirror(frame));
    }
}

void reduceTo24Bits(FrameImage& frame) {
    if (!frame || frame.bitCount() == 24) return;
    // Palette, 16-bit and mask-placed pictures (possible without `resize`) would otherwise
    // reach the writer in a form it cannot store.
    if (frame.bitCount() != 32 || frame.header().biCompression != kBiRgb)
        replaceWith(frame, DibTo32(frame));
    if (frame.bitCount() == 32) replaceWith(frame, Dib32To24(frame));
}

}  // namespace quillfen
