#pragma once
// Captions over movie frames: the overlay list's drawing and the "X" debug caption.

#include <cstdint>
#include <vector>

#include "imaging/frame_image.h"
#include "script/element_kind.h"

namespace quillfen {

class TextElement;

/// The build driver's active captions, in registration order (not owned).
using OverlayList = std::vector<TextElement*>;

/// Draws every caption of `overlays` over `frame`, in order, and returns the frame to go on
/// with (the input when nothing could be drawn).
FrameImage DrawTextOverlays(FrameImage frame, const OverlayList& overlays);

/// What the debug caption shows for one written frame.
struct DebugCaptionInfo {
    std::int64_t frameIndex = 0;
    ElementKind kind = ElementKind::Source;
    int lineNum = 0;
    int nbFrames = 0;
    int nbAVIFrames = 0;
};

/// Draws the red "f:%04ld  %c-%d  fr=%d  fa=%d" caption of `info` inset 5 pixels from the
/// frame's edges and returns the frame to go on with.
FrameImage drawDebugCaption(FrameImage frame, const DebugCaptionInfo& info);

}  // namespace quillfen
