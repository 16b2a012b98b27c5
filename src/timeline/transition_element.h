#pragma once
// A transition effect from the end of the previous Element into the start of the next.

#include <string>
#include <string_view>

#include "imaging/effect_catalogue.h"
#include "timeline/two_input_element.h"

namespace quillfen {

inline constexpr std::string_view kMandatoryParameterText = "Error: mandatory parameter missing.";

class TransitionElement : public TwoInputElement {
  public:
    /// Parameters "effect name|seconds" (default 1 second, at least 2 frames; a negative
    /// duration runs the effect backwards). An unknown name falls back to Fade silently; a
    /// missing name makes the Element invalid. `effects` must outlive the Element.
    TransitionElement(int lineIndex, const MovieSettings& settings, std::string_view parameters,
                      const EffectCatalogue& effects);

    void reset() override;
    FrameImage nextFrame() override;
    std::string describe() const override;

    std::string effectName;
    int totalFrames = 0;
    bool forward = true;
    const EffectCatalogue& effects;
    ClassId effectClass = kFadeClassId;
};

}  // namespace quillfen
