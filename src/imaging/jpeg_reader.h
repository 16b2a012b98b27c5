#pragma once
// JPEG files (also ".jps" stereo pairs) through libjpeg with default decompression.

#include <string>

#include "imaging/frame_image.h"

namespace quillfen {

/// The JPEG picture at byte `start` of `path`: 1 component gives an 8-bit image with a grey
/// ramp, 3 components 24 bits, 4 components 32 bits (the first three samples as red, green,
/// blue; the 4th byte 0). Up to 1000 zero bytes before the stream are passed over. Empty when
/// the file cannot be opened ("can't open NAME" on stderr), is damaged beyond decoding, has
/// another component count, more than 2^28 pixels, or (Huffman-coded) over 4096 pixels per
/// byte of file, which only a file missing nearly all its data claims; library messages are
/// never printed.
FrameImage LoadJpegFile(const std::string& path, long start = 0);

}  // namespace quillfen
