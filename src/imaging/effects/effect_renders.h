#pragma once
// The render function of every built-in effect; the registry ties each to a name and class id.

#include "imaging/effects/effect_kernel.h"

namespace quillfen::effects {

void renderFade(const EffectJob& job, int rowBegin, int rowEnd);
void renderWipe(const EffectJob& job, int rowBegin, int rowEnd);
void renderSlide(const EffectJob& job, int rowBegin, int rowEnd);
void renderPush(const EffectJob& job, int rowBegin, int rowEnd);
void renderBarn(const EffectJob& job, int rowBegin, int rowEnd);
void renderBlinds(const EffectJob& job, int rowBegin, int rowEnd);
void renderCheckerboard(const EffectJob& job, int rowBegin, int rowEnd);
void renderIris(const EffectJob& job, int rowBegin, int rowEnd);
void renderInset(const EffectJob& job, int rowBegin, int rowEnd);
void renderPixelate(const EffectJob& job, int rowBegin, int rowEnd);
void renderRadialWipe(const EffectJob& job, int rowBegin, int rowEnd);
void renderRandomBars(const EffectJob& job, int rowBegin, int rowEnd);
void renderRandomDissolve(const EffectJob& job, int rowBegin, int rowEnd);
void renderSpiral(const EffectJob& job, int rowBegin, int rowEnd);
void renderStretch(const EffectJob& job, int rowBegin, int rowEnd);
void renderStrips(const EffectJob& job, int rowBegin, int rowEnd);
void renderZigzag(const EffectJob& job, int rowBegin, int rowEnd);
void renderWheel(const EffectJob& job, int rowBegin, int rowEnd);
void renderGradientWipe(const EffectJob& job, int rowBegin, int rowEnd);

}  // namespace quillfen::effects
