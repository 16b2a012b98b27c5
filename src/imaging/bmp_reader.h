#pragma once
// BMP files, with or without the 14-byte file header.

#include <string>

#include "imaging/frame_image.h"

namespace quillfen {

/// The BMP picture at byte `start` of `path` as a Frame image: the file's own header (a
/// 12-byte core header widened to 40), colour table or bit masks, and pixel rows. Rows stored
/// top-down come back bottom-up with a positive height. Pixel data shorter than the header
/// promises leaves the missing rows zero. Empty when the file cannot be opened, its header
/// is neither 12 nor 40 bytes, or its sizes are absurd (zero, negative, more than 2^28 pixels,
/// or far beyond what the file holds).
FrameImage LoadBmpFile(const std::string& path, long start = 0);

/// Writes `image` as a BMP file: "BM", file size, 0, 0, pixel offset, then the block byte for
/// byte. False (a partial file may remain) when the image is empty or writing fails.
bool WriteBmpFile(const FrameImage& image, const std::string& path);

}  // namespace quillfen
