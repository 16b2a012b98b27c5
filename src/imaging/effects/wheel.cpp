// Wheel: four spokes turn clockwise about the centre, each sweeping its own quarter.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderWheel(const EffectJob& job, int rowBegin, int rowEnd) {
    constexpr float kSpokes = 4.0f;
    const float cx = static_cast<float>(job.width) / 2.0f;
    const float cy = static_cast<float>(job.height) / 2.0f;
    renderByValue(job, rowBegin, rowEnd, 0.04f, [&](int top, float* v) {
        const float up = cy - (static_cast<float>(top) + 0.5f);
        for (int x = 0; x < job.width; ++x) {
            const float turns = clockTurn(static_cast<float>(x) + 0.5f - cx, up) * kSpokes;
            v[x] = turns - static_cast<float>(static_cast<int>(turns));
        }
        return true;
    });
}

}  // namespace quillfen::effects
