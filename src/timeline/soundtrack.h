#pragma once
// The `soundtrack` command: music under the pictures. Each line starts a track (or, with no
// file, silence) at the first frame of the next Element that adds frames; the track plays until
// the next soundtrack line takes over, cross-fading, or until the movie ends.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/movie_settings.h"
#include "timeline/element_list.h"

namespace quillfen {

struct SoundtrackCue {
    int lineNum = 0;
    /// The file as the Script names it (picture folder applied); empty for silence.
    std::string file;
    /// Where it is on disk; empty for silence.
    std::string nativePath;
    double volumePercent = 100.0;
    double fadeSeconds = 1.0;
    bool loop = false;
    /// How many Elements came before the line: the track starts with the first later
    /// Element that adds frames.
    std::size_t elementsBefore = 0;
    /// The movie frame it starts at, set by placeSoundtracks; none after the last Element.
    std::optional<std::int64_t> startFrame;

    bool silence() const { return file.empty(); }
};

using SoundtrackList = std::vector<SoundtrackCue>;

inline constexpr std::string_view kBadSoundtrackText =
    "Error: invalid soundtrack parameters (FILE|VOLUME|FADE|LOOP).";

/// Reads a `soundtrack` line's parameters and checks its file. The cue, or none with `error`
/// set to the line's error message.
std::optional<SoundtrackCue> readSoundtrackCue(int lineIndex, std::string_view parameters,
                                               const MovieSettings& settings, std::string& error);

/// Sets every cue's start frame from the counted Elements (`firstMovieFrame`, `nbAVIFrames`).
void placeSoundtracks(SoundtrackList& cues, const ElementList& elements);

/// The timeline listing's line for a cue, at `frameRate`.
std::string describeSoundtrack(const SoundtrackCue& cue, double frameRate,
                               std::int64_t totalFrames);

}  // namespace quillfen
