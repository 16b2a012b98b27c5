// Radial Wipe: a clock hand sweeps clockwise from 12 o'clock around the centre.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderRadialWipe(const EffectJob& job, int rowBegin, int rowEnd) {
    const float cx = static_cast<float>(job.width) / 2.0f;
    const float cy = static_cast<float>(job.height) / 2.0f;
    renderByValue(job, rowBegin, rowEnd, 0.01f, [&](int top, float* v) {
        const float up = cy - (static_cast<float>(top) + 0.5f);
        for (int x = 0; x < job.width; ++x)
            v[x] = clockTurn(static_cast<float>(x) + 0.5f - cx, up);
        return true;
    });
}

}  // namespace quillfen::effects
