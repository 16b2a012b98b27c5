#pragma once
// The Movie settings as the fitting and stereo kernels take them. Every frame, whether fitted
// by an Element or by the frame pipeline, gets its kernel parameters from here.

#include "imaging/fit_options.h"
#include "script/movie_settings.h"

namespace quillfen {

/// How frames are fitted: `resize` gives the size (empty without one), then `resizemode`
/// (1 letterbox, 2 stretch, others fit), `crop` ('0' none, 'B' top, 'C' middle, others
/// bottom), `background` and `stereo`. Convert code 20 fits into half the width, stretched.
FitOptions fitOptionsFor(const MovieSettings& settings);

/// The stereo step after fitting: the `convert` code, with `transpose` swapping the views.
StereoOptions stereoOptionsFor(const MovieSettings& settings);

}  // namespace quillfen
