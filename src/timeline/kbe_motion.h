#pragma once
// Where a pan-and-zoom window lies on each step of its movement: positions slide linearly,
// the width changes geometrically (a constant zoom speed) and the height follows the
// proportions of one output view. Pure arithmetic, so every number can be checked alone.

namespace quillfen {

/// A window in picture pixels, y counted down from the top; `z` shifts the right view's
/// window in stereo. Whole numbers in the reported geometry, fractions in the exact one.
struct KbeRect {
    double x = 0, y = 0, width = 0, height = 0, z = 0;
};

/// One end of the movement in pixels (percentages already converted).
struct KbeEnd {
    int x = 0, y = 0, width = 0, z = 0;
};

struct KbeMotion {
    KbeEnd start;
    KbeEnd target;
    /// Window positions from start to target, counting both.
    int steps = 0;
    /// Width over height of one output view (W / H / views).
    double viewAspect = 1.0;
    /// The picture's height, for the bottom-edge correction.
    int pictureHeight = 0;

    /// The window of step `i` (0 = start, steps - 1 = target) on whole pixels, with integer
    /// interpolation truncating toward zero and the width rounded half up. With fewer than 2
    /// steps there is no movement: every step is the start. A window passing the bottom edge
    /// is moved up by half the overshoot (whole pixels).
    KbeRect windowAt(int i) const;

    /// The same window without any rounding, for sub-pixel sampling: the movement is smooth
    /// where whole pixels would step 0, 1 or 2 pixels from frame to frame.
    KbeRect exactWindowAt(int i) const;
};

}  // namespace quillfen
