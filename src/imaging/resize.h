#pragma once
// Fitting frames to the movie's size: letterbox, stretch or fit, with optional cropping.

#include "imaging/fit_options.h"
#include "imaging/frame_image.h"

namespace quillfen {

/// `source` brought to `fit.size` under `fit.mode`: letterbox bands take `fit.background`
/// (kNoColour: black); fit mode leaves the output smaller than the size along one axis. With
/// an anchor other than none, a picture narrower than the size has rows cropped (those the
/// anchor names) instead of being scaled whole. With `fit.stereoPairs` in letterbox mode, the
/// two halves of a pair are letterboxed each in its own half. Returns a new 32-bit image, or
/// empty when the size is not positive, the source cannot be read or memory runs out; the
/// source is never changed.
FrameImage ResizeFrame(const FrameImage& source, const FitOptions& fit);

/// Fits `image` as the build does: nothing happens when `fit.size` is empty. The image is
/// replaced when a new one was made and kept otherwise, so this never loses a frame; a 32-bit
/// frame that already has the size is fitted in place (its fourth bytes cleared), without a
/// copy.
void FitFrame(FrameImage& image, const FitOptions& fit);

/// `image` fitted as FitFrame fits it, as a new image, when fitting that result again would
/// keep its every pixel (it has the output size and is drawn 1:1). Empty otherwise, and when
/// `fit.size` is empty: the caller then keeps and fits the picture itself.
FrameImage FinallyFitted(const FrameImage& image, const FitOptions& fit);

}  // namespace quillfen
