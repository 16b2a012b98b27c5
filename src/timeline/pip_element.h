#pragma once
// Picture in picture: the previous Element's frames with the next Element's inset.

#include <string_view>

#include "timeline/geometry_value.h"
#include "timeline/two_input_element.h"

namespace quillfen {

/// One placement of the inset; only the first placement's x, y, width and shift are drawn.
struct PipPlacement {
    GeometryValue x;
    GeometryValue y;
    GeometryValue width;
    GeometryValue shift;
    int frames = 0;
    int extra = 0;
};

class PipElement : public TwoInputElement {
  public:
    /// Parameters "first placement|second placement|seconds", a placement being
    /// "x,y,width,shift,seconds,integer". At least 1 frame; always valid.
    PipElement(int lineIndex, const MovieSettings& settings, std::string_view parameters);

    void reset() override;
    FrameImage nextFrame() override;
    std::string describe() const override;

    PipPlacement first;
    PipPlacement second;
    FrameImage keptPrevFrame;
    FrameImage keptNextFrame;

  private:
    /// Reads one placement; `seconds` is the running time used when the fifth value is
    /// missing, replaced by the fifth value when present.
    void readPlacement(std::string_view text, PipPlacement& placement, double& seconds) const;
};

}  // namespace quillfen
