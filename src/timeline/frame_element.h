#pragma once
// Plain colour frames of the output size.

#include "base/colour.h"
#include "timeline/source_element.h"

namespace quillfen {

class FrameElement : public SourceElement {
  public:
    /// Parameters "colour|seconds"; the size is the output size at this line. Always valid;
    /// no duration gives no frames.
    FrameElement(int lineIndex, const MovieSettings& settings, std::string_view parameters);

    void reset() override;
    FrameImage nextFrame() override;
    std::string describe() const override;

    int width = 0;
    int height = 0;
    ColourValue colour = 0;
};

}  // namespace quillfen
