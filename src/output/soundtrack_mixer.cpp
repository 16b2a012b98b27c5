#include "output/soundtrack_mixer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillfen {

struct SoundtrackMixer::Track {
    const SoundtrackCue* cue = nullptr;
    std::int64_t start = 0;     // first sample
    std::int64_t fadeIn = 0;    // samples
    std::int64_t outStart = 0;  // where it starts fading out
    std::int64_t end = 0;       // where it is silent
    SoundReader reader;
    bool opened = false;
    bool finished = false;  // the file ended (without loop) or failed

    double gainAt(std::int64_t s) const {
        double gain = cue->volumePercent / 100.0;
        if (fadeIn > 0 && s - start < fadeIn) gain *= static_cast<double>(s - start) / fadeIn;
        const std::int64_t fadeOut = end - outStart;
        if (fadeOut > 0 && s >= outStart) gain *= static_cast<double>(end - s) / fadeOut;
        return gain;
    }
};

SoundtrackMixer::SoundtrackMixer(const SoundtrackList& cues, double frameRate,
                                 std::int64_t totalFrames)
    : frameRate_(frameRate), movieEnd_(sampleOfFrame(totalFrames)) {
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const SoundtrackCue& cue = cues[i];
        if (cue.silence() || !cue.startFrame) continue;
        auto track = std::make_unique<Track>();
        track->cue = &cue;
        track->start = sampleOfFrame(*cue.startFrame);
        track->fadeIn = std::llround(cue.fadeSeconds * kSoundRate);
        const SoundtrackCue* next = nullptr;
        for (std::size_t j = i + 1; j < cues.size() && !next; ++j)
            if (cues[j].startFrame) next = &cues[j];
        if (next) {
            // The next cue takes over: fade out over this track's fade (a second for silence).
            track->outStart = sampleOfFrame(*next->startFrame);
            const double seconds = next->silence() ? 1.0 : cue.fadeSeconds;
            track->end = std::min<std::int64_t>(
                movieEnd_, track->outStart + std::llround(seconds * kSoundRate));
        } else {
            track->end = movieEnd_;
            track->outStart = std::max(track->start, movieEnd_ - track->fadeIn);
        }
        if (track->end > track->start) tracks_.push_back(std::move(track));
    }
}

SoundtrackMixer::~SoundtrackMixer() = default;

std::int64_t SoundtrackMixer::sampleOfFrame(std::int64_t frame) const {
    return std::llround(static_cast<double>(frame) * kSoundRate / frameRate_);
}

std::vector<float> SoundtrackMixer::soundUntilFrame(std::int64_t frame) {
    const std::int64_t to = std::max(done_, sampleOfFrame(frame));
    std::vector<float> out(static_cast<std::size_t>(to - done_) * kSoundChannels, 0.0f);
    for (std::unique_ptr<Track>& track : tracks_)
        mixTrack(*track, done_, to, out);
    // Louder than full scale clips, as the volume's description says.
    for (float& v : out)
        v = std::clamp(v, -1.0f, 1.0f);
    done_ = to;
    return out;
}

void SoundtrackMixer::mixTrack(Track& track, std::int64_t from, std::int64_t to,
                               std::vector<float>& out) {
    const std::int64_t first = std::max(from, track.start);
    const std::int64_t last = std::min(to, track.end);
    if (first >= last || track.finished) return;
    if (!track.opened) {
        track.opened = true;
        std::string why = track.reader.open(track.cue->nativePath);
        if (!why.empty()) {
            warnings_.push_back("Warning: sound file '" + track.cue->file + "' ends early: " + why);
            track.finished = true;
            return;
        }
    }
    std::vector<float> block;
    readInto(track, static_cast<std::size_t>(last - first), block);
    const std::size_t frames = block.size() / kSoundChannels;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto gain = static_cast<float>(track.gainAt(first + static_cast<std::int64_t>(i)));
        const std::size_t at =
            static_cast<std::size_t>(first - from + static_cast<std::int64_t>(i));
        out[at * kSoundChannels] += block[i * kSoundChannels] * gain;
        out[at * kSoundChannels + 1] += block[i * kSoundChannels + 1] * gain;
    }
    // Past its end the track needs its file no more.
    if (last == track.end) track.reader = SoundReader();
}

bool SoundtrackMixer::readInto(Track& track, std::size_t frames, std::vector<float>& block) {
    std::size_t got = track.reader.read(frames, block);
    while (got < frames && track.reader.failure().empty() && track.cue->loop) {
        // A track shorter than its span starts again; one that gives nothing ends.
        if (!track.reader.rewind()) break;
        std::size_t more = track.reader.read(frames - got, block);
        if (more == 0) break;
        got += more;
    }
    if (got < frames) {
        if (!track.reader.failure().empty()) {
            warnings_.push_back("Warning: sound file '" + track.cue->file +
                                "' ends early: " + track.reader.failure());
        }
        track.finished = true;
    }
    return got == frames;
}

std::vector<std::string> SoundtrackMixer::takeWarnings() {
    return std::exchange(warnings_, {});
}

}  // namespace quillfen
