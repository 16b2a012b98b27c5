#pragma once
// Pan and zoom: a window glides across one picture from a start to a target rectangle.

#include <array>
#include <string_view>

#include "timeline/geometry_value.h"
#include "timeline/kbe_motion.h"
#include "timeline/source_element.h"

namespace quillfen {

struct KbeWindow {
    GeometryValue x;
    GeometryValue y;
    GeometryValue width;
    GeometryValue z;  // shift of the right view's window, in stereo
};

class KbeElement : public SourceElement {
  public:
    /// Parameters "picture|x,y,width,z,hold|x,y,width,z,hold|seconds|extra,extra": the
    /// movement takes `seconds`; an omitted start hold is the movement's duration and an
    /// omitted target hold the start hold. Invalid when the picture is missing or unreadable,
    /// or when a window width is 0 or less whatever the picture (a negative number, or a
    /// percentage of 0 or less; a pixel width of 0 means the whole view width).
    KbeElement(int lineIndex, const MovieSettings& settings, std::string_view parameters);

    void reset() override;
    /// The window of the next step scaled to the output size (the resize size, or the
    /// picture's own size without one) by area averaging, both views side by side in stereo;
    /// parts of the window outside the picture show the background colour. Empty when no
    /// frames remain or the picture cannot be read. The picture is read on the first frame
    /// and let go after the last.
    FrameImage nextFrame() override;
    std::string describe() const override;
    /// True while the window holds still: at either end's hold, once the first frame is out.
    bool nextMovieFrameRepeats() const override;
    void repeatMovieFrame() override;

    int steps = 0;
    int stepIndex = 0;
    int frameCounter = 0;
    KbeWindow start;
    KbeWindow target;
    int startHold = 0;
    int targetHold = 0;
    std::array<double, 2> extraSeconds{};
    std::array<int, 2> extraFrames{};
    /// The left view's window of the latest frame on whole pixels (also in smooth mode).
    KbeRect window;

  private:
    /// Reads a rectangle and its hold time; `seconds` carries the running hold time.
    static void readWindow(std::string_view text, KbeWindow& window, double& seconds);
    /// The parse-time error of a width that no picture can make positive; empty otherwise.
    std::string widthError() const;
    /// Gives the rectangles their pixel values for a picture of `viewWidth` x `height`.
    void completeWindows(int viewWidth, int height);
    /// Draws the current step's window(s) of cachedPicture into a new output frame.
    FrameImage drawWindow();
};

}  // namespace quillfen
