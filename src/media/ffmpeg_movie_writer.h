#pragma once
// The movie writer over FFmpeg's libavformat and libavcodec. The container follows the file
// name; the codec is the user's `CodecChoice`.

#include <memory>

#include "media/movie_writer.h"

namespace quillfen {

struct FfmpegWriterOptions {
    /// For intra-only codecs at constant quality, write the previous packet again when a
    /// frame's pixels equal the previous frame's instead of encoding it. The file is the same
    /// either way.
    bool reuseIdenticalSamples = true;
    /// Encode and write on a worker thread while the caller renders the next frame. Samples
    /// are still written in order, so the file is the same either way; a failure is
    /// returned by the next call (writeSample or close) and names the sample it hit.
    bool encodeBesideCaller = true;
};

/// A writer that nothing has opened yet.
std::unique_ptr<MovieWriter> makeFfmpegMovieWriter(FfmpegWriterOptions options = {});

}  // namespace quillfen
