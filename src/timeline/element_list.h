#pragma once
// The timeline: Elements in Script order, and the passes that tie Transitions and PIPs to
// their neighbours and count the movie's frames.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "timeline/source_element.h"

namespace quillfen {

using ElementList = std::vector<std::unique_ptr<SourceElement>>;

inline constexpr std::string_view kIllegalPositionText =
    "Error: illegal position for Transition or PIP command.";

struct LinkError {
    int lineIndex = 0;
    std::string text;
};

/// Links every Transition and PIP to its nearest non-overlay neighbours and lends it frames:
/// a still neighbour yields extra frames, a moving one gives up its own (never below 1).
/// Stops at the first Transition or PIP without a neighbour on either side, or whose
/// neighbour is itself a Transition or PIP, and returns that error; Elements before it stay
/// linked.
std::optional<LinkError> linkElements(ElementList& elements);

/// Sets each Element's firstMovieFrame and returns the movie's frame total (the sum of
/// nbAVIFrames).
std::int64_t countFrames(ElementList& elements);

}  // namespace quillfen
