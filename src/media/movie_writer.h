#pragma once
// The movie writer seam: open a movie file, set up its one video stream from the first frame,
// write one sample per movie frame, close. The build driver reports every status it gets.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/frame_image.h"
#include "media/codec_catalogue.h"

namespace quillfen {

/// Which step failed; `None` is success.
enum class WriterFailure {
    None,
    Refused,  // the codec choice does not fit the file; nothing was created
    Open,     // the file could not be created
    SetUp,    // the stream could not be started
    Write,    // a sample could not be written (the file stays finishable)
    Close,    // the file could not be finished completely
    Usage,    // the calls came in a wrong order or with a wrong frame
};

struct WriterStatus {
    WriterFailure failure = WriterFailure::None;
    /// The library's error code as an unsigned 32-bit value (0 when there is none).
    std::uint32_t code = 0;
    /// A sentence for the user; empty on success.
    std::string reason;

    bool ok() const { return failure == WriterFailure::None; }
    static WriterStatus success() { return {}; }
};

struct SampleFlags {
    /// Flag the sample as a key frame (forced in the encoder).
    bool key = false;
    /// The caller knows these pixels equal the previous written sample's; the writer may then
    /// skip its own comparison. Only a hint: a wrong hint writes the previous picture again.
    bool sameAsPrevious = false;
};

class MovieWriter {
  public:
    virtual ~MovieWriter() = default;

    /// Checks the codec choice against the file name, then creates (or truncates) the file.
    /// On failure nothing is open and, for `Refused`, nothing was created.
    virtual WriterStatus open(const std::string& path, const CodecChoice& choice) = 0;

    /// Starts the video stream from the first frame's header (24-bit, bottom-up) at
    /// trunc(frameRate x 1000 + 0.5) / 1000 frames per second. On failure the file stays open
    /// and close() still releases it.
    virtual WriterStatus setUpStream(const BitmapInfoHeader& firstFrame, double frameRate) = 0;

    /// Writes the pixel rows of one frame (bottom-up, rows padded to 4 bytes, exactly
    /// stride x height bytes) as sample `index`. Indexes must increase; a number left out
    /// stays an empty sample, so later frames keep their time. After a failure the file
    /// keeps what was written before it and every later write reports the same failure.
    virtual WriterStatus writeSample(std::int64_t index, std::span<const std::uint8_t> rows,
                                     SampleFlags flags) = 0;
    /// The same for a whole Frame image, which the writer takes over (saving a copy). It may
    /// also have 32 bits per pixel (uncompressed): the fourth byte is then dropped as the
    /// colours are converted, so the movie is the same as from the 24-bit frame.
    virtual WriterStatus writeSample(std::int64_t index, FrameImage frame, SampleFlags flags) = 0;
    /// The same for a shared frame, which the writer only reads: a frame written again is
    /// held once more, not copied.
    virtual WriterStatus writeSample(std::int64_t index, SharedFrame frame, SampleFlags flags) = 0;

    /// Between open and setUpStream: the movie gets a 48 kHz stereo sound stream beside the
    /// video, in the codec that suits the container. Writers without sound refuse.
    virtual WriterStatus enableSound() {
        return {WriterFailure::Refused, 0, "this writer writes no sound"};
    }
    /// Sound that follows the last sample written: interleaved stereo at 48 kHz (left, right),
    /// in [-1, 1]. Kept in order with the samples; a failure sticks as for writeSample.
    virtual WriterStatus writeSound(std::vector<float> /*samples*/) {
        return {WriterFailure::Usage, 0, "the movie has no sound stream"};
    }

    /// Finishes the file (remaining packets, index) and releases it, whatever happened
    /// before. Returns a write failure that no writeSample call has returned yet (an encoder
    /// beside the caller may meet one after the last call), else a failure of finishing,
    /// else success. Harmless when nothing is open or when called twice.
    virtual WriterStatus close() = 0;

    /// Samples actually stored so far (empty samples for gaps not counted).
    virtual std::int64_t samplesWritten() const = 0;
};

}  // namespace quillfen
