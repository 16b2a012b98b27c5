#pragma once
// The frame sink of a build: the movie writer's stream and samples, with the Trace messages
// of setting the stream up and of a failed write.

#include <string>

#include "media/movie_writer.h"
#include "output/build_host.h"
#include "output/frame_sink.h"
#include "output/soundtrack_mixer.h"

namespace quillfen {

class MovieFileSink : public FrameSink {
  public:
    /// `writer` (already open on `fileName`) and `host` are not owned; `fileName` is the name
    /// the messages show.
    MovieFileSink(MovieWriter& writer, BuildHost& host, std::string fileName)
        : writer_(writer), host_(host), fileName_(std::move(fileName)) {}

    /// Sets up the stream: "Opening AVI file...", and the error when the writer refuses.
    SinkAnswer start(const FrameImage& first, double frameRate) override;
    /// Writes one sample; a failure is reported in red, naming the file and the reason.
    SinkAnswer deliver(std::int64_t index, SharedFrame frame, SampleFlags flags) override;

    /// After every sample, the soundtrack's sound up to the end of that frame is written too
    /// (`mixer` not owned; null: a silent movie).
    void setSoundtrack(SoundtrackMixer* mixer) { mixer_ = mixer; }

    /// True once a write failure has been reported (close() may return it again).
    bool writeFailureReported() const { return writeFailureReported_; }

  private:
    SinkAnswer reportFailure(const WriterStatus& status);
    WriterStatus writeSoundUntil(std::int64_t frame);

    MovieWriter& writer_;
    SoundtrackMixer* mixer_ = nullptr;
    BuildHost& host_;
    std::string fileName_;
    bool writeFailureReported_ = false;
};

/// The red Trace text of a writer failure on `fileName`: why the file could not be
/// written or finished.
std::string writerFailureText(const std::string& fileName, const WriterStatus& status);

}  // namespace quillfen
