#pragma once
// The FFmpeg source behind the video reader: demuxes the clip's first video stream, decodes
// it and converts every frame to 24-bit bottom-up rows of the clip's size.

#include <cstdint>
#include <memory>
#include <string>

#include "media/video_source.h"

namespace quillfen {

/// Opens the clip at the native path `path`. On failure returns null and sets `errorCode` to
/// FFmpeg's (negative) error code as a 32-bit value; a file without a video stream gives the
/// "stream not found" code.
std::unique_ptr<VideoSampleSource> openVideoClip(const std::string& path, std::uint32_t& errorCode);

}  // namespace quillfen
