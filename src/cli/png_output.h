#pragma once
// Writing a rendered frame as a PNG file.

#include <string>

#include "imaging/frame_image.h"

namespace quillfen {

/// Writes a 24-bit bottom-up `frame` as an 8-bit RGB PNG at `path`. False (a partial file
/// may remain) when the frame is not 24-bit or writing fails.
bool WritePngFile(const FrameImage& frame, const std::string& path);

}  // namespace quillfen
