#pragma once
// PNG files through libpng.

#include <string>

#include "imaging/frame_image.h"

namespace quillfen {

/// The PNG picture at byte `start` of `path`. Grey and palette pictures stay indexed (1, 4 or
/// 8 bits; 2-bit samples widened to 4 bits; 16-bit samples reduced to 8), grey with alpha
/// becomes 8-bit grey, colour 24 bits, and colour with alpha is composited over the file's
/// background colour (black without one). A file gamma is corrected for a display of 2.2.
/// Pixel data that ends early keeps the rows decoded so far; the rows after them are zero.
/// Empty when the file cannot be opened, is not a PNG, has a damaged header or more than 2^28
/// pixels, or fails in another way while decoding.
FrameImage LoadPngFile(const std::string& path, long start = 0);

}  // namespace quillfen
