#include "timeline/soundtrack.h"

#include <cmath>
#include <cstdlib>

#include "base/file_system.h"
#include "base/text_numbers.h"
#include "media/sound_reader.h"
#include "script/script_paths.h"
#include "timeline/movie_time.h"
#include "timeline/source_element.h"

namespace quillfen {
namespace {

constexpr double kLargestVolume = 400.0;
constexpr double kLongestFade = 3600.0;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

/// The groups between "|", empty ones kept: an empty group takes its default.
std::vector<std::string_view> groupsOf(std::string_view text) {
    std::vector<std::string_view> groups;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = text.find('|', start);
        groups.push_back(trimmed(text.substr(start, bar - start)));
        if (bar == std::string_view::npos) return groups;
        start = bar + 1;
    }
}

/// A whole number or decimal in [low, high]; an empty group gives `fallback`.
std::optional<double> numberIn(std::string_view text, double low, double high, double fallback) {
    if (text.empty()) return fallback;
    std::string copy(text);
    char* end = nullptr;
    double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

bool readSettings(const std::vector<std::string_view>& groups, SoundtrackCue& cue) {
    auto group = [&](std::size_t i) { return i < groups.size() ? groups[i] : std::string_view(); };
    std::optional<double> volume = numberIn(group(1), 0.0, kLargestVolume, 100.0);
    std::optional<double> fade = numberIn(group(2), 0.0, kLongestFade, 1.0);
    std::optional<double> loop = numberIn(group(3), 0.0, 1.0, 0.0);
    if (!volume || !fade || !loop || (*loop != 0.0 && *loop != 1.0) || groups.size() > 4)
        return false;
    cue.volumePercent = *volume;
    cue.fadeSeconds = *fade;
    cue.loop = *loop == 1.0;
    return true;
}

}  // namespace

std::optional<SoundtrackCue> readSoundtrackCue(int lineIndex, std::string_view parameters,
                                               const MovieSettings& settings, std::string& error) {
    SoundtrackCue cue;
    cue.lineNum = lineIndex;
    std::vector<std::string_view> groups = groupsOf(parameters);
    if (!readSettings(groups, cue)) {
        error = kBadSoundtrackText;
        return std::nullopt;
    }
    // "0" or nothing: the track in hand fades out over a second and silence follows.
    if (groups[0].empty() || groups[0] == "0") {
        cue.fadeSeconds = 1.0;
        return cue;
    }
    cue.file = resolvePicturePath(groups[0], settings.pictureFolder);
    cue.nativePath = nativePath(cue.file, settings);
    if (!FileExists(cue.nativePath)) {
        error = "Error: sound file '" + cue.file + "' doesn't exist.";
        return std::nullopt;
    }
    if (!probeSound(cue.nativePath).empty()) {
        error = "Error: no sound in '" + cue.file + "'.";
        return std::nullopt;
    }
    return cue;
}

void placeSoundtracks(SoundtrackList& cues, const ElementList& elements) {
    for (SoundtrackCue& cue : cues) {
        cue.startFrame.reset();
        for (std::size_t i = cue.elementsBefore; i < elements.size(); ++i) {
            if (elements[i]->nbAVIFrames() > 0) {
                cue.startFrame = elements[i]->firstMovieFrame();
                break;
            }
        }
    }
}

std::string describeSoundtrack(const SoundtrackCue& cue, double frameRate,
                               std::int64_t totalFrames) {
    const std::int64_t start = cue.startFrame.value_or(totalFrames);
    return formatText("%s  Soundtrack  lineNum:%d  file:%s  volume:%g  fade:%.2f  loop:%d",
                      formatMovieTime(static_cast<double>(start) / frameRate).c_str(), cue.lineNum,
                      cue.silence() ? "0" : cue.file.c_str(), cue.volumePercent, cue.fadeSeconds,
                      cue.loop ? 1 : 0);
}

}  // namespace quillfen
