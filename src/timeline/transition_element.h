#pragma once
// A transition effect from the end of the previous Element into the start of the next.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "imaging/effects/effect_catalogue.h"
#include "imaging/effects/transition_engine.h"
#include "timeline/two_input_element.h"

namespace quillfen {

inline constexpr std::string_view kMandatoryParameterText = "Error: mandatory parameter missing.";
/// Where no input shows (an input smaller than the output): an opaque neutral grey, ARGB.
inline constexpr std::uint32_t kWorkspaceBackground = 0xFFA0A0A0u;

class TransitionElement : public TwoInputElement {
  public:
    /// Parameters "effect name|seconds" (default 1 second, at least 2 frames; a negative
    /// duration runs the effect backwards). An unknown name falls back to Fade and leaves a
    /// warning in `message`; a missing name makes the Element invalid. `effects` must outlive
    /// the Element.
    TransitionElement(int lineIndex, const MovieSettings& settings, std::string_view parameters,
                      const EffectCatalogue& effects);

    void reset() override;
    /// One step of the effect between the neighbours' pictures, fitted to the output size, at
    /// progress (totalFrames - nbFrames - 1) / (totalFrames - 1), run from 1 to 0 backwards.
    /// A still neighbour is fetched once; a neighbour that runs out keeps its last picture.
    /// None when a neighbour never gave a picture or the effect cannot be rendered.
    FrameImage nextFrame() override;
    std::string describe() const override;

    std::string effectName;
    int totalFrames = 0;
    bool forward = true;
    const EffectCatalogue& effects;
    ClassId effectClass = kFadeClassId;

  private:
    void startEngine();
    /// Hands the neighbour's next picture, fitted, to the engine as `slot` and returns it; a
    /// still neighbour after the first frame only gives up a frame. None when nothing new came.
    FrameImage feedInput(SourceElement* neighbour, bool still, EngineInput slot);
    float progress() const;

    // Lives from the first frame to the last, so its inputs are held across the steps and
    // no setting of an earlier build reaches it.
    std::unique_ptr<CTransitionEngine> engine_;
};

}  // namespace quillfen
