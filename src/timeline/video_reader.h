#pragma once
// The video reader: a decoder thread that pulls clip frames from a source and hands them to
// the build's thread one at a time. The decoder thread fills gaps in the sample times by
// repeating the previous frame, drops frames in the thinning pattern, and then stops with
// one frame in flight until the next request. Two automatic-reset events carry the hand-over:
// "frame ready" from the decoder thread, "continue" from the requesting thread.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "imaging/frame_image.h"
#include "media/video_source.h"

namespace quillfen {

/// Why `nextFrame` gave no frame.
enum class VideoEnd {
    None,       // frames are still coming
    EndOfClip,  // the clip has no more frames
    Failed,     // the clip cannot be decoded past the last frame given
    Stalled,    // no frame came within the wait limit
    Closed      // the reader is closed or was never opened
};

class VideoReader {
  public:
    /// How long `nextFrame` waits for a decoder that neither delivers nor ends.
    static constexpr std::chrono::milliseconds kDefaultWaitLimit{8000};

    VideoReader();
    ~VideoReader();  // closes
    VideoReader(VideoReader&&) noexcept;
    VideoReader& operator=(VideoReader&&) noexcept;
    VideoReader(const VideoReader&) = delete;
    VideoReader& operator=(const VideoReader&) = delete;

    /// Opens the clip at the native path `path` with FFmpeg. Returns 0 on success, else
    /// FFmpeg's error code as a 32-bit value (the reader then stays closed).
    std::uint32_t open(const std::string& path);
    /// Reads from `source` instead of a file (a closed reader ignores a null source).
    void open(std::unique_ptr<VideoSampleSource> source);
    bool isOpen() const;

    /// The clip's size, time per frame, duration and frame count; zeros when closed.
    const VideoClipInfo& info() const;
    /// The clip's frame rate: the container's, else 10 000 000 / time per frame (0: unknown).
    double clipFrameRate() const;

    /// Sets the thinning pattern for a movie at `movieFrameRate` and returns how many movie
    /// frames the clip gives. Call before the first `nextFrame`.
    std::int32_t setMovieFrameRate(double movieFrameRate);
    std::int32_t keepCycle() const;
    std::int32_t keepCount() const;

    /// For tests of a stalling source; the default is kDefaultWaitLimit.
    void setWaitLimit(std::chrono::milliseconds limit);

    /// The next movie frame: a 24-bit bottom-up image of the clip's size with a 40-byte
    /// header. The first call starts the decoder thread. Empty when the clip has ended, could
    /// not be decoded further, or no frame came within the wait limit; endReason() then says
    /// which and every later call is empty at once.
    FrameImage nextFrame();
    VideoEnd endReason() const;
    /// FFmpeg's account of a decoding failure, empty otherwise.
    std::string failureText() const;

    /// Frames repeated to fill gaps and clip frames handled so far (delivered or dropped).
    std::int32_t repeatedFrames() const;
    std::int32_t handledSamples() const;

    /// Stops the decoder thread and releases the clip. Prompt: both events are signalled and
    /// the source interrupted, so neither thread can stay blocked. Safe to call repeatedly.
    void close();

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

/// A short English account of an end reason, for messages.
const char* describeVideoEnd(VideoEnd reason);

}  // namespace quillfen
