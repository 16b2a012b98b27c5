#pragma once
// Short test clips made with FFmpeg's encoders. Every frame carries its frame number drawn as
// blocks, with a white band along the top edge and a black band along the bottom, so a test
// can read back which clip frame it got and that it is upright.

#include <string>

#include "imaging/frame_image.h"

namespace quillfen::testing {

enum class ClipCodec { Mpeg4, H264 };

struct ClipOptions {
    ClipCodec codec = ClipCodec::Mpeg4;
    int frames = 10;
    /// Frame rate as a fraction (30000/1001 for 29.97).
    int rateNum = 25;
    int rateDen = 1;
    int width = 96;
    int height = 64;
    /// After frame `gapAfter` the sample times jump by `gapFrames` extra frame durations
    /// (-1: no gap). The frame count stays `frames`.
    int gapAfter = -1;
    int gapFrames = 0;
    /// Sample time of the first frame, in frame durations.
    int firstPts = 0;
};

/// Encodes a clip into `path`; the container follows the extension (.avi, .mp4, .mkv, .mov).
/// Returns an empty string on success, else what went wrong.
std::string makeClip(const std::string& path, const ClipOptions& options);

/// The frame number drawn in a 24-bit bottom-up frame of a clip made here; -1 when the image
/// is not such a frame or is upside down.
int readFrameNumber(const FrameImage& frame);

}  // namespace quillfen::testing
