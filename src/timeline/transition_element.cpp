#include "timeline/transition_element.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/text_numbers.h"
#include "imaging/resize.h"
#include "timeline/fit_settings.h"

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
    totalFrames = nbFrames_ = nbAVIFrames_ = std::max(2, settings.secondsToFrames(seconds));
    if (effectName.empty()) {
        message = kMandatoryParameterText;
        return;
    }
    if (std::optional<ClassId> id = effects.FindEffect(effectName))
        effectClass = *id;
    else  // still valid, but a misspelt name should not pass unnoticed
        message = formatText("Warning: transition effect '%s' not found, Fade is used instead.",
                             effectName.c_str());
    valid = true;
}

void TransitionElement::reset() {
    TwoInputElement::reset();
    kind = ElementKind::Transition;
    effectName.clear();
    totalFrames = 0;
    forward = true;
    effectClass = kFadeClassId;
    engine_.reset();
}

void TransitionElement::startEngine() {
    prevIsStill = prev && isStillKind(prev->kind);
    nextIsStill = next && isStillKind(next->kind);
    engine_ = std::make_unique<CTransitionEngine>();
    engine_->setStereo(settings.stereo == 1);
    engine_->setBackground(kWorkspaceBackground);
}

FrameImage TransitionElement::feedInput(SourceElement* neighbour, bool still, EngineInput slot) {
    if (!neighbour) return {};
    if (still && !firstFrame_) {
        neighbour->dropFrame();
        return {};
    }
    FrameImage picture = neighbour->nextFrame();
    if (!picture) return {};  // ran out: the engine goes on with the picture it holds
    FitFrame(picture, fitOptionsFor(settings));
    engine_->SetInput(slot, picture);
    return picture;
}

float TransitionElement::progress() const {
    const float p = static_cast<float>(totalFrames - nbFrames_ - 1) /
                    static_cast<float>(std::max(1, totalFrames - 1));
    return forward ? p : 1.0f - p;
}

FrameImage TransitionElement::nextFrame() {
    if (nbFrames_ <= 0) return {};
    --nbFrames_;
    if (firstFrame_) startEngine();
    const EngineInput prevSlot = forward ? EngineInput::First : EngineInput::Second;
    const EngineInput nextSlot = forward ? EngineInput::Second : EngineInput::First;
    FrameImage prevPicture = feedInput(prev, prevIsStill, prevSlot);
    FrameImage nextPicture = feedInput(next, nextIsStill, nextSlot);
    engine_->ReleaseTransforms();
    if (firstFrame_) {
        // The output takes the size of the previous picture (the next one if there is none).
        const FrameImage& sizer = prevPicture ? prevPicture : nextPicture;
        if (sizer) engine_->setPlacement({0, 0, sizer.width(), sizer.height()});
    }
    FrameImage result = engine_->Apply(effectClass, progress());
    firstFrame_ = false;
    if (nbFrames_ == 0) engine_.reset();
    return result;
}

std::string TransitionElement::describe() const {
    return dumpHead("Transition\t") + " Tr=" + effectName + "  #" + prevLineText() + " --> #" +
           nextLineText();
}

}  // namespace quillfen
