#pragma once
// Operations on stereo pairs: Frame images whose left half is the left view and whose right
// half is the right view (with an odd width the last column belongs to neither).

#include "imaging/frame_image.h"
#include "script/movie_settings.h"

namespace quillfen {

/// The pair combined into one half-width picture by convert `mode` (anaglyph colour mixes,
/// row or column interleaving, the left view alone; unknown modes give black). With the
/// settings' transpose flag the views swap roles, except in mode 19. 8-bit pairs give a 24-bit
/// result and are converted only in modes 12 and 15 (black otherwise); 16, 24 and 32-bit pairs
/// keep their depth. Empty for depths below 8, compressed images, a width below 2 or a failed
/// allocation.
FrameImage StereoConvert(const FrameImage& pair, int mode, const MovieSettings& settings);

/// Exchanges the two views of every row in place. False, image untouched, below 16 bits.
bool SwapViews(FrameImage& pair);

/// Reverses the pixels of the left and/or right view of every row in place. False, image
/// untouched, for depths other than 8, 16, 24 and 32 bits.
bool MirrorViews(FrameImage& pair, bool left, bool right);

/// As the build applies `convert`: modes 0 and up (except 20) go through StereoConvert,
/// replacing the image when that gives one; otherwise the transpose flag swaps the views in
/// place. Never loses the frame.
void ConvertStereoFrame(FrameImage& image, int mode, const MovieSettings& settings);

}  // namespace quillfen
