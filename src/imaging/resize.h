#pragma once
// Fitting frames to the movie's size: letterbox, stretch or fit, with optional cropping.

#include "base/colour.h"
#include "imaging/frame_image.h"
#include "script/movie_settings.h"

namespace quillfen {

/// `source` brought to width x height under `mode` (1 letterbox, 2 stretch, other values fit
/// without padding; the output is then smaller than the target along one axis). `brush` is the
/// letterbox band colour (kNoColour: black). `anchor` '0' scales the whole picture; any other
/// character crops rows of a picture narrower than the target instead: 'B' keeps the top rows,
/// 'C' the middle rows, others the bottom rows. With `stereo` in mode 1, the two halves of a
/// pair are letterboxed each in its own half. Returns a new 32-bit image, or empty when the
/// source cannot be read or memory runs out; the source is never changed.
FrameImage ResizeFrame(const FrameImage& source, int width, int height, int mode, ColourValue brush,
                       char anchor, bool stereo);

/// Applies `resize`, `resizemode`, `crop`, `background` and `stereo` of the settings as the
/// build does (convert mode 20 fits into half the width, stretched). The image is replaced
/// when a new one was made and kept otherwise, so this never loses a frame; a 32-bit frame
/// that already has the size is fitted in place (its fourth bytes cleared), without a copy.
void ResizeFrameToSettings(FrameImage& image, const MovieSettings& settings);

/// `image` fitted as ResizeFrameToSettings fits it, as a new image, when fitting that result
/// again would keep its every pixel (it has the output size and is drawn 1:1). Empty
/// otherwise, and without a `resize`: the caller then keeps and fits the picture itself.
FrameImage FinallyFitted(const FrameImage& image, const MovieSettings& settings);

}  // namespace quillfen
