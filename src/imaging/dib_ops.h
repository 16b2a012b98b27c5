#pragma once
// Basic Frame image operations. Each returns a new image and leaves its input untouched;
// an empty FrameImage means the operation was refused or memory ran out.

#include "base/colour.h"
#include "imaging/frame_image.h"

namespace quillfen {

/// A w x h image at `bits` (a colour table of 2^bits entries for bits <= 15), zero-filled,
/// biSizeImage 0. Unless `colour` is kNoColour, 16, 24 and 32-bit pixels are filled with it
/// (pad bytes stay 0). Empty for a non-positive size or a failed allocation.
FrameImage DibCreateBlank(int width, int height, int bits, ColourValue colour);

/// The image upside down. Refused for bits < 8, compressed images, and blocks that do not
/// hold every row.
FrameImage DibFlipVertical(const FrameImage& image);

/// Every row with its pixels in reverse order. Same refusals as DibFlipVertical.
FrameImage DibMirror(const FrameImage& image);

/// A 24-bit copy of a 32-bit image (the 4th byte of each pixel dropped). Refused for other
/// depths and compressed images.
FrameImage Dib32To24(const FrameImage& image);

}  // namespace quillfen
