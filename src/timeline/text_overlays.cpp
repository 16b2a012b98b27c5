#include "timeline/text_overlays.h"

namespace quillfen {

// Pass-through until caption drawing lands.
FrameImage DrawTextOverlays(FrameImage frame, const OverlayList&) { return frame; }

FrameImage drawDebugCaption(FrameImage frame, const DebugCaptionInfo&) { return frame; }

}  // namespace quillfen
