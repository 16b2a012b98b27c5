#pragma once
// Colouring of Script lines for the editor: which characters are command words, numbers and
// comment. Standard C++ only, so it can be tested and reused without a window.

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/colour.h"

namespace quillfen {

/// Colour indexes of the editor view.
enum ColourIndex : std::int32_t {
    kColourWhiteSpace = 0,
    kColourBackground = 1,
    kColourNormalText = 2,
    kColourSelectionMargin = 3,
    kColourSelectionBackground = 4,
    kColourSelectedText = 5,
    kColourKeyword = 6,
    kColourComment = 7,
    kColourNumber = 8,
    kColourOperator = 9,
    kColourString = 10,
    kColourPreprocessor = 11,
};

/// Line state flags carried from one line to the next.
enum LineCookie : std::uint32_t {
    kCookieComment = 1,
    kCookieExtComment = 4,
    kCookieString = 8,
};

/// One coloured run: from `charPos` to the next block's position or the line's end.
struct TextBlock {
    std::int32_t charPos = 0;
    std::int32_t colorIndex = kColourNormalText;

    friend bool operator==(const TextBlock&, const TextBlock&) = default;
};

/// The six Script colours of the settings, plus the system colour of the selection margin.
struct ScriptColours {
    ColourValue normal = makeColour(0, 0, 0);
    ColourValue background = makeColour(255, 255, 255);
    ColourValue comment = makeColour(0, 128, 0);
    ColourValue keyword = makeColour(0, 0, 255);
    ColourValue string = makeColour(255, 0, 255);
    ColourValue number = makeColour(128, 0, 0);
    ColourValue selectionMargin = makeColour(200, 200, 200);
};

/// The colour that `index` takes with `colours`; unknown indexes give the string colour.
/// The selection uses the normal and background colours swapped, so it is drawn inverse.
ColourValue GetColor(int index, const ScriptColours& colours);

/// Colours one Script line starting from `state`; returns the state for the next line. With
/// `blocks` null only the state is computed; otherwise blocks are appended to `*blocks` in
/// increasing position (a block that would lie before the last one is dropped). Bytes are
/// classified as ASCII; other bytes count as ordinary characters.
std::uint32_t ParseLine(std::uint32_t state, std::string_view line, std::vector<TextBlock>* blocks);

/// True for a word the colouring shows as a number: decimal with "+-.Ee", or "&h" hexadecimal.
bool isScriptNumber(std::string_view word);

}  // namespace quillfen
