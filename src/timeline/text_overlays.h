#pragma once
// Captions over movie frames: the overlay list's drawing and the "X" debug caption.

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/frame_image.h"
#include "script/element_kind.h"
#include "timeline/source_element.h"

namespace quillfen {

/// Draws every caption of `overlays` over `frame`, in order, and returns the frame to go on
/// with (the input when nothing could be drawn). Each caption is laid out and its font scaled
/// on its first frame; its text is rendered once per frame size and blended over each frame.
/// 24 and 32-bit frames keep their depth; other depths come back as 32 bits.
FrameImage DrawTextOverlays(FrameImage frame, const OverlayList& overlays);

/// What the debug caption shows for one written frame.
struct DebugCaptionInfo {
    std::int64_t frameIndex = 0;
    ElementKind kind = ElementKind::Source;
    int lineNum = 0;
    int nbFrames = 0;
    int nbAVIFrames = 0;
};

/// The debug caption's letter for a kind: P T K S F for Source to Frame, V for Video, I for
/// PIP, "?" for the rest.
char debugKindLetter(ElementKind kind);

/// "f:%04ld  %c-%d  fr=%d  fa=%d" with the frame index, kind letter, line and both counters.
std::string debugCaptionText(const DebugCaptionInfo& info);

/// Draws the debug caption of `info` in red "Arial,36", single line, inset 5 pixels from the
/// frame's own edges, and returns the frame to go on with: the same depth for 24 and 32-bit
/// frames (so a frame already reduced to 24 bits stays 24), the input when it cannot be
/// drawn on.
FrameImage drawDebugCaption(FrameImage frame, const DebugCaptionInfo& info);

}  // namespace quillfen
