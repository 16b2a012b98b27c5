#pragma once
// Colour values as the whole program passes them: 0x00BBGGRR (red in the low byte).

#include <cstdint>
#include <string_view>

namespace quillfen {

using ColourValue = std::uint32_t;

/// "No colour": transparent, no background, no shadow.
inline constexpr ColourValue kNoColour = 0xFFFFFFFFu;

constexpr ColourValue makeColour(int red, int green, int blue) {
    return static_cast<ColourValue>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(ColourValue c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(ColourValue c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(ColourValue c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

/// Script colour syntax: "#RRGGBB" (hexadecimal) or one of the colour names (any case), "none".
/// Anything unreadable is black.
ColourValue parseColour(std::string_view text);

}  // namespace quillfen
