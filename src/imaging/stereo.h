#pragma once
// Operations on stereo pairs: Frame images whose left half is the left view and whose right
// half is the right view (with an odd width the last column belongs to neither).

#include "imaging/fit_options.h"
#include "imaging/frame_image.h"

namespace quillfen {

/// The pair combined into one half-width picture by `conversion` (anaglyph colour mixes, row
/// or column interleaving, the left view alone; none, halfWidth and unnamed codes give black).
/// With `swapViews` the views swap roles, except for leftView. 8-bit pairs give a 24-bit
/// result and are converted only by the two mixed conversions (black otherwise); 16, 24 and
/// 32-bit pairs keep their depth. Empty for depths below 8, compressed images, a width below 2
/// or a failed allocation.
FrameImage StereoConvert(const FrameImage& pair, StereoConversion conversion, bool swapViews);

/// Exchanges the two views of every row in place. False, image untouched, below 16 bits.
bool SwapViews(FrameImage& pair);

/// Reverses the pixels of the left and/or right view of every row in place. False, image
/// untouched, for depths other than 8, 16, 24 and 32 bits.
bool MirrorViews(FrameImage& pair, bool left, bool right);

/// As the build converts a fitted frame: codes 0 and up (except halfWidth) go through
/// StereoConvert, replacing the image when that gives one; otherwise `swapViews` swaps the
/// views in place. Never loses the frame.
void ConvertStereoFrame(FrameImage& image, const StereoOptions& stereo);

}  // namespace quillfen
