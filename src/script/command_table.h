#pragma once
// The Script's command vocabulary. One table serves the parser and the editor's colouring.

#include <array>
#include <optional>
#include <string_view>

namespace quillfen {

enum class Command : int {
    Resize = 0,
    ResizeMode = 1,
    Stereo = 2,
    Convert = 3,
    FlipV = 4,
    MergeFrames = 5,
    Path = 6,
    Transition = 7,
    Kbe = 8,
    Stop = 9,
    FrameRate = 10,
    Transpose = 11,
    Sequence = 12,
    MovieFile = 13,
    Mirror = 14,
    Frame = 15,
    Debug = 16,
    Video = 17,
    Text = 18,
    Logo = 19,
    Pip = 20,
    Skip = 21,
    Crop = 22,
    Background = 23,
    Soundtrack = 24,  // an extension: music under the pictures
    Picture = 100,    // a picture line
};

/// The keywords with their leading ">", indexed by command code.
inline constexpr std::array<std::string_view, 25> kCommandKeywords = {
    ">resize",      ">resizemode", ">stereo",     ">convert",    ">flipv",
    ">mergeframes", ">path",       ">transition", ">kbe",        ">stop",
    ">framerate",   ">transpose",  ">sequence",   ">moviefile",  ">mirror",
    ">frame",       ">debug",      ">video",      ">text",       ">logo",
    ">pip",         ">skip",       ">crop",       ">background", ">soundtrack",
};

/// The command whose keyword equals `word` (">" included) without regard to case.
std::optional<Command> findCommandKeyword(std::string_view wordWithMarker);

}  // namespace quillfen
