#include "app/preview_timeline.h"

#include <algorithm>
#include <cmath>

namespace quillfen {

std::optional<std::int64_t> frameForLine(const PreviewTimeline& timeline, int line) {
    if (timeline.totalFrames <= 0) return std::nullopt;
    const std::int64_t last = timeline.totalFrames - 1;
    for (const TimelineEntry& entry : timeline.entries) {
        if (entry.lineIndex == line && !isOverlayKind(entry.kind)) {
            const std::int64_t half = entry.kind == ElementKind::Transition ? entry.frames / 2 : 0;
            return std::clamp<std::int64_t>(entry.firstFrame + half, 0, last);
        }
        // Captions start with the Element after them, like command and comment lines.
        if (entry.lineIndex > line && !isOverlayKind(entry.kind))
            return std::clamp<std::int64_t>(entry.firstFrame, 0, last);
    }
    return last;
}

std::optional<int> lineAtFrame(const PreviewTimeline& timeline, std::int64_t frame) {
    for (const TimelineEntry& entry : timeline.entries) {
        if (entry.frames > 0 && frame >= entry.firstFrame &&
            frame < entry.firstFrame + entry.frames)
            return entry.lineIndex;
    }
    return std::nullopt;
}

std::int64_t frameAtTime(const PreviewTimeline& timeline, double seconds) {
    if (timeline.totalFrames <= 0) return 0;
    const double frame = std::floor(seconds * timeline.frameRate + 1e-9);
    if (!(frame >= 0.0)) return 0;
    return static_cast<std::int64_t>(
        std::min(frame, static_cast<double>(timeline.totalFrames - 1)));
}

double timeOfFrame(const PreviewTimeline& timeline, std::int64_t frame) {
    return timeline.frameRate > 0 ? static_cast<double>(frame) / timeline.frameRate : 0.0;
}

}  // namespace quillfen
