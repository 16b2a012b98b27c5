#pragma once

#include "imaging/frame_image.h"

namespace quillfen {

/// The image as 32-bit blue-green-red-0 pixels of the same size, bottom-up; a plain 32-bit
/// input is copied, 16 and 32-bit pixels placed by channel masks are unpacked. Empty for
/// run-length images, unsupported depths, or a block too small for its header. Palette
/// indexes beyond the colour table read as black.
FrameImage DibTo32(const FrameImage& image);

}  // namespace quillfen
