#pragma once
// What the video reader's decoder thread pulls from: decoded clip frames in clip order, each
// as 24-bit bottom-up rows of the clip's size with its sample time. The FFmpeg decoder is the
// real source; tests put simple sources behind the same reader.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillfen {

/// What is known of a clip once it is open.
struct VideoClipInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;
    /// Time per frame and duration in 100-nanosecond units.
    std::int64_t averageFrameTime = 0;
    std::int64_t duration = 0;
    /// The container's exact rate (frames per second); 0 when only averageFrameTime is known.
    /// Rounding to 100-ns units would make 30 fps 30.00003 and lose a frame in counts.
    double frameRate = 0.0;
    /// The container's frame count when it records one, else duration over frame time.
    std::int32_t clipFrameCount = 0;
};

/// One decoded frame: rows padded to 4 bytes, bottom row first, in the first `imageBytes`
/// bytes of `pixels` (the buffer may be longer: converters may write a little past the end).
struct VideoSample {
    double time = 0.0;  // seconds from the clip's start
    std::size_t imageBytes = 0;
    std::vector<std::uint8_t> pixels;
};

enum class VideoReadStatus {
    Frame,       // `sample` holds the next frame
    EndOfClip,   // no frame is left
    Failed,      // the clip cannot be read past this point
    Interrupted  // interrupt() was called
};

class VideoSampleSource {
  public:
    virtual ~VideoSampleSource() = default;

    virtual const VideoClipInfo& info() const = 0;

    /// Fills `sample` with the next frame (called on the decoder thread only). The pixel
    /// buffer may be reused from the previous call.
    virtual VideoReadStatus read(VideoSample& sample) = 0;

    /// Makes a read in progress, and every later one, return Interrupted soon. Safe to call
    /// from any thread.
    virtual void interrupt() = 0;

    /// Why the last read failed, for a warning; empty when it did not.
    virtual std::string failure() const = 0;
};

}  // namespace quillfen
