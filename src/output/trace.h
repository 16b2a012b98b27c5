#pragma once
// The Trace: the coloured, iconed message list that every build writes to.

#include <cstdint>
#include <string>

#include "base/colour.h"

namespace quillfen {

namespace trace_colour {
inline constexpr ColourValue kBlue = 0x00FF0000;    // progress
inline constexpr ColourValue kOrange = 0x000080FF;  // warnings
inline constexpr ColourValue kRed = 0x000000FF;     // errors
inline constexpr ColourValue kNormal = kNoColour;   // listings: the list's own text colour
}  // namespace trace_colour

/// Indexes into the 33-icon strip; an Element's line uses 23 + its kind.
enum TraceIcon : std::int32_t {
    kIconNone = -1,
    kIconInformation = 0,
    kIconCheckMark = 1,
    kIconWarning = 2,
    kIconErrorCross = 3,
    kIconNoEntry = 4,
    kIconGreenDot = 7,
    kIconArrow = 9,
    kIconLightning = 12,
    kIconClock = 21,
    kIconTickedBox = 23,
};
inline constexpr int kTraceIconCount = 33;

struct TraceEntry {
    std::string text;
    ColourValue colour = trace_colour::kNormal;
    std::int32_t icon = kIconNone;
};

/// An entry with an icon outside the strip stored as "none".
TraceEntry makeTraceEntry(std::string text, ColourValue colour, int icon);

}  // namespace quillfen
