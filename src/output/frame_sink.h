#pragma once
// Where the frame loop delivers the finished frames: the movie file for a build, or a
// single captured frame for a preview.

#include <cstdint>

#include "imaging/frame_image.h"
#include "media/movie_writer.h"

namespace quillfen {

enum class SinkAnswer {
    Continue,  // go on with the next frame
    Done,      // the sink has all it wants: end the loop quietly
    Failed,    // the sink reported an error: end the build
};

class FrameSink {
  public:
    virtual ~FrameSink() = default;

    /// Called once, with the movie's first frame, before it is delivered. Failed ends the
    /// build (the sink has reported why).
    virtual SinkAnswer start(const FrameImage& first, double frameRate) = 0;
    /// False when the sink has no use for frame `index`, so the loop need not copy it.
    virtual bool wants(std::int64_t /*index*/) const { return true; }
    /// Frame `index` of the movie, of the first frame's size and 24 or 32 bits per pixel (the
    /// fourth byte unused). A repeated frame is the same shared block as before.
    virtual SinkAnswer deliver(std::int64_t index, SharedFrame frame, SampleFlags flags) = 0;
};

}  // namespace quillfen
