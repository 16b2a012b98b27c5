#pragma once
// Stretching a rectangle of a Frame image into a rectangle of 32-bit pixels. This is the
// filtering behind every fitted picture, pan-and-zoom window, inset and transition input.
//
// Coordinates: the source window is given in picture coordinates, x to the right from the
// left edge and y DOWN from the TOP edge (the top row of the picture is y = 0, although it is
// the last row in memory), in double precision, so a window may start and end between
// pixels. The destination rectangle is in whole target pixels, also counted from the top.
//
// What is written: every destination pixel that lies inside the target and whose share of
// the window overlaps the picture. Destination pixels whose share lies wholly outside the
// picture are left untouched (fill the target first when bands are wanted); pixels on the
// picture's edge average only the part inside it.

#include <cstddef>
#include <cstdint>

#include "imaging/frame_image.h"

namespace quillfen {

enum class StretchMode {
    halftone,      // area averaging: each target pixel is the mean of the source area it covers
    colorOnColor,  // nearest neighbour: the source pixel under each target pixel's centre
};

/// A rectangle of the source picture, top-down picture coordinates, fractions allowed.
struct SourceWindow {
    double x = 0, y = 0, width = 0, height = 0;
};

/// A rectangle of whole pixels, counted from the top-left corner.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

/// Rows of 32-bit blue-green-red-x pixels that a stretch writes into (not owned). `top` is the
/// top row; `rowStep` is the byte distance to the next row down (negative for bottom-up
/// images). `fourth` is written as each pixel's 4th byte.
struct PixelTarget {
    std::uint8_t* top = nullptr;
    std::ptrdiff_t rowStep = 0;
    int width = 0;
    int height = 0;
    std::uint8_t fourth = 0;
};

/// The rows of a 32-bit uncompressed Frame image as a target (4th byte 0); a target of no
/// pixels for any other image.
PixelTarget frameTarget(FrameImage& image);

/// True when StretchInto can read `source`: uncompressed 1, 4, 8, 16, 24 or 32 bits, or 16 and
/// 32 bits with channel masks, and a block that holds every row.
bool CanStretch(const FrameImage& source);

/// Draws `window` of `source` into `dest` of `target` with `mode`. The source may be 1, 4, 8
/// (colour table; indexes beyond it read as black), 16 (5-5-5), 24 or 32 bits, uncompressed,
/// or 16 and 32 bits with channel masks. Returns false, writing nothing, for a source that is
/// run-length compressed, of another depth, or whose
/// block does not hold its rows, and for a window or rectangle without area.
bool StretchInto(const FrameImage& source, const SourceWindow& window, const PixelTarget& target,
                 const PixelRect& dest, StretchMode mode);

}  // namespace quillfen
