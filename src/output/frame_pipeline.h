#pragma once
// The fixed chain every movie frame goes through between an Element and the movie file:
// fit to the output size, stereo conversion, captions, mirroring, flipping, reduction to
// 24 bits and the debug caption. Plain 32-bit frames are left for the movie writer to reduce
// as it converts colours, which saves a pass over every frame.

#include "imaging/frame_image.h"
#include "script/movie_settings.h"
#include "timeline/text_overlays.h"

namespace quillfen {

class FramePipeline {
  public:
    /// `settings` and `overlays` are not owned and are read at every frame, so registering a
    /// caption takes effect on the next frame. `debugCaption` draws the "X" caption.
    FramePipeline(const MovieSettings& settings, const OverlayList& overlays, bool debugCaption)
        : settings_(settings), overlays_(overlays), debugCaption_(debugCaption) {}

    /// Runs the chain on `frame` and returns the frame to write: 24 bits per pixel, or 32 bits
    /// of blue, green, red and an unused byte, unless an operation ran out of memory (it is
    /// then the last good stage's result). An operation that refuses a frame leaves it as it
    /// was; only an empty input gives an empty result.
    FrameImage process(FrameImage frame, const DebugCaptionInfo& caption) const;

    /// True when the output depends on more than the input frame and the overlay list (the
    /// debug caption changes with every frame).
    bool variesPerFrame() const { return debugCaption_; }

  private:
    void mirror(FrameImage& frame) const;

    const MovieSettings& settings_;
    const OverlayList& overlays_;
    bool debugCaption_;
};

/// `frame` at 24 bits: 32-bit frames lose their fourth byte, other depths are expanded
/// first. Unchanged when it already has 24 bits or cannot be converted.
void reduceTo24Bits(FrameImage& frame);

}  // namespace quillfen
