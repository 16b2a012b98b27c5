#pragma once
// The soundtrack under a build: the cues' tracks read in a stream, each with its volume, its
// fade in, its fade out where the next cue takes over (the two cross-fade) or where the movie
// ends, and looping; mixed and clipped to the movie's 48 kHz stereo sound, a span at a time.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/sound_reader.h"
#include "timeline/soundtrack.h"

namespace quillfen {

class SoundtrackMixer {
  public:
    /// `cues` placed on a movie of `totalFrames` at `frameRate` (as the writer stores it).
    SoundtrackMixer(const SoundtrackList& cues, double frameRate, std::int64_t totalFrames);
    ~SoundtrackMixer();
    SoundtrackMixer(const SoundtrackMixer&) = delete;
    SoundtrackMixer& operator=(const SoundtrackMixer&) = delete;

    /// Whether any cue plays a file at all.
    bool hasSound() const { return !tracks_.empty(); }

    /// The sound up to the end of movie frame `frame` (exclusive: round(frame x 48000 /
    /// rate)), following what the previous call gave; interleaved stereo.
    std::vector<float> soundUntilFrame(std::int64_t frame);

    /// Warnings met since the last call ("Warning: sound file '…' ends early: …").
    std::vector<std::string> takeWarnings();

  private:
    struct Track;
    void mixTrack(Track& track, std::int64_t from, std::int64_t to, std::vector<float>& out);
    bool readInto(Track& track, std::size_t frames, std::vector<float>& block);
    std::int64_t sampleOfFrame(std::int64_t frame) const;

    double frameRate_;
    std::int64_t movieEnd_;
    std::int64_t done_ = 0;
    std::vector<std::unique_ptr<Track>> tracks_;
    std::vector<std::string> warnings_;
};

}  // namespace quillfen
