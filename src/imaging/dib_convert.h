#pragma once

#include "imaging/frame_image.h"

namespace quillfen {

/// The image as 32-bit blue-green-red-0 pixels of the same size, bottom-up; a 32-bit input is
/// copied. Empty for run-length or bit-field images, unsupported depths, or a block too small
/// for its header. Palette indexes beyond the colour table read as black.
FrameImage DibTo32(const FrameImage& image);

}  // namespace quillfen
