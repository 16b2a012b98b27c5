#pragma once
// Pan and zoom: a window glides across one picture from a start to a target rectangle.

#include <array>
#include <string_view>

#include "timeline/geometry_value.h"
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
    /// omitted target hold the start hold. Invalid when the picture is missing or unreadable.
    KbeElement(int lineIndex, const MovieSettings& settings, std::string_view parameters);

    void reset() override;
    FrameImage nextFrame() override;
    std::string describe() const override;

    int steps = 0;
    int stepIndex = 0;
    int frameCounter = 0;
    KbeWindow start;
    KbeWindow target;
    int startHold = 0;
    int targetHold = 0;
    std::array<double, 2> extraSeconds{};
    std::array<int, 2> extraFrames{};

  private:
    /// Reads a rectangle and its hold time; `seconds` carries the running hold time.
    static void readWindow(std::string_view text, KbeWindow& window, double& seconds);
};

}  // namespace quillfen
