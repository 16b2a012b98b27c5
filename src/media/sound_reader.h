#pragma once
// Sound files decoded in a stream: any file FFmpeg can read sound from (WAV, MP3, Ogg, FLAC,
// M4A, a video with a sound track), turned into 48 kHz stereo samples a block at a time, so a
// long track is never held whole.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace quillfen {

inline constexpr int kSoundRate = 48000;
inline constexpr int kSoundChannels = 2;

class SoundReader {
  public:
    SoundReader();
    ~SoundReader();
    SoundReader(SoundReader&&) noexcept;
    SoundReader& operator=(SoundReader&&) noexcept;
    SoundReader(const SoundReader&) = delete;
    SoundReader& operator=(const SoundReader&) = delete;

    /// Opens the sound of the native path `path`. Empty on success, else why not: a file that
    /// cannot be opened, or one without a sound stream that can be decoded.
    std::string open(const std::string& path);
    bool isOpen() const;

    /// Appends up to `frames` stereo frames (two floats each, left then right) to `out` and
    /// returns how many it appended; fewer only at the end of the sound or on a failure,
    /// which `failure` then names.
    std::size_t read(std::size_t frames, std::vector<float>& out);
    /// Starts the sound again from its beginning (for a looped track). False on failure.
    bool rewind();
    /// Why decoding stopped before the end, or empty.
    std::string failure() const;

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

/// Empty when `path` holds sound that can be decoded, else the reason.
std::string probeSound(const std::string& path);

}  // namespace quillfen
