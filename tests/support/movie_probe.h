#pragma once
// Reads a written movie back with FFmpeg's libraries for tests: the stream's rate, time base,
// size and codec, one entry per stored sample, and decoded frames as 24-bit bottom-up Frame
// images (the layout the writer was given).

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/frame_image.h"

namespace quillfen::testing {

struct ProbedSample {
    std::int64_t frame = 0;  // presentation time in frames of the stream's rate
    int size = 0;            // bytes; 0 for an empty sample
    bool key = false;
};

struct MovieProbe {
    std::string error;  // empty when the movie could be opened
    std::string container;
    std::string codec;  // libavcodec's codec name ("rawvideo", "mjpeg", ...)
    std::uint32_t codecTag = 0;
    int width = 0;
    int height = 0;
    int rateNum = 0;  // the stream's average frame rate
    int rateDen = 1;
    int timeBaseNum = 0;
    int timeBaseDen = 1;
    std::vector<ProbedSample> samples;  // in file order

    bool ok() const { return error.empty(); }
    /// Samples that hold data.
    int storedFrames() const;
    /// Indexes (into `samples`) of the key samples.
    std::vector<int> keySamples() const;
};

MovieProbe probeMovie(const std::string& path);

/// Every decoded frame in presentation order as a 24-bit bottom-up image; stops after
/// `maxFrames` when that is not negative. Empty on failure (`error` says why when given).
std::vector<FrameImage> decodeMovieFrames(const std::string& path, int maxFrames = -1,
                                          std::string* error = nullptr);

/// A 64-bit FNV-1a checksum of every stored sample's bytes, in file order (an empty sample
/// gives the checksum of no bytes). Streams the file, so long movies need little memory.
/// Empty on failure (`error` says why when given).
std::vector<std::uint64_t> sampleChecksums(const std::string& path, std::string* error = nullptr);

/// Decoded frame `index` in presentation order, or an empty image.
FrameImage decodeMovieFrame(const std::string& path, int index);

}  // namespace quillfen::testing
