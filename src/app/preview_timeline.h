#pragma once
// Which movie frame the preview shows for a Script line, and which Element a frame belongs to.

#include <cstdint>
#include <optional>
#include <vector>

#include "output/build_driver.h"

namespace quillfen {

/// The counted movie as the preview knows it.
struct PreviewTimeline {
    std::vector<TimelineEntry> entries;
    std::int64_t totalFrames = 0;
    double frameRate = 25;
};

/// The frame for the caret on `line`: the first frame of the Element on that line, the middle
/// frame of a Transition, and for any other line the first frame of the next Element (the last
/// frame when none follows). None when the movie has no frames.
std::optional<std::int64_t> frameForLine(const PreviewTimeline& timeline, int line);

/// The line of the Element whose frames include `frame`; none outside the movie.
std::optional<int> lineAtFrame(const PreviewTimeline& timeline, std::int64_t frame);

/// The frame shown at `seconds` (the last one that started at or before it), within the movie.
std::int64_t frameAtTime(const PreviewTimeline& timeline, double seconds);

/// The time at which `frame` starts.
double timeOfFrame(const PreviewTimeline& timeline, std::int64_t frame);

}  // namespace quillfen
