#include "timeline/transition_element.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "script/text_numbers.h"

namespace quillfen {

TransitionElement::TransitionElement(int lineIndex, const MovieSettings& movieSettings,
                                     std::string_view parameters,
                                     const EffectCatalogue& effectCatalogue)
    : TwoInputElement(lineIndex, movieSettings), effects(effectCatalogue) {
    kind = ElementKind::Transition;
    std::vector<std::string_view> groups = splitPieces(parameters, '|');
    if (!groups.empty()) effectName = std::string(groups[0]);
    double seconds = groups.size() > 1 ? readDouble(groups[1]) : 1.0;
    if (seconds < 0) {
        forward = false;
        seconds = -seconds;
    }
    totalFrames = nbFrames = nbAVIFrames = std::max(2, settings.secondsToFrames(seconds));
    if (effectName.empty()) {
        message = kMandatoryParameterText;
        return;
    }
    if (std::optional<ClassId> id = effects.FindEffect(effectName)) effectClass = *id;
    valid = true;
}

void TransitionElement::reset() {
    TwoInputElement::reset();
    kind = ElementKind::Transition;
    effectName.clear();
    totalFrames = 0;
    forward = true;
    effectClass = kFadeClassId;
}

FrameImage TransitionElement::nextFrame() {
    if (nbFrames <= 0) return {};
    --nbFrames;
    firstFrame = false;
    // Rendering through the effect engine arrives with the frame pipeline.
    return {};
}

std::string TransitionElement::describe() const {
    return dumpHead("Transition\t") + " Tr=" + effectName + "  #" + prevLineText() + " --> #" +
           nextLineText();
}

}  // namespace quillfen
