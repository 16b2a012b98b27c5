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
    /// The previous neighbour's picture with the next one's scaled into the first placement
    /// (area averaging), both fitted to the output size; with stereo, each view of the inset
    /// goes into its own half. A still neighbour is fetched once; a neighbour that runs out
    /// keeps its last picture. None when a neighbour never gave a picture.
    FrameImage nextFrame() override;
    std::string describe() const override;
    /// True over a still base with a still inset, once both are in hand: every frame draws
    /// the same two pictures.
    bool nextMovieFrameRepeats() const override;
    void repeatMovieFrame() override;

    PipPlacement first;
    PipPlacement second;
    FrameImage keptPrevFrame;
    FrameImage keptNextFrame;

  private:
    /// Percentages of both placements in pixels of the view width and the output height.
    void layoutPlacements();
    /// Replaces `kept` with the neighbour's next picture, fitted; a still neighbour after the
    /// first frame only gives up a frame, and a neighbour that gives none leaves `kept` as is.
    void takePicture(SourceElement* neighbour, bool still, FrameImage& kept);
    /// A 32-bit copy of `base` with `inset` drawn into the first placement; none when no
    /// memory or `base` cannot be read.
    FrameImage drawInset(const FrameImage& base, const FrameImage& inset) const;

    /// Reads one placement; `seconds` is the running time used when the fifth value is
    /// missing, replaced by the fifth value when present.
    void readPlacement(std::string_view text, PipPlacement& placement, double& seconds) const;
};

}  // namespace quillfen
