// Gradient Wipe: a wipe from the top whose edge is a wide gradient band (a quarter of the
// picture), so the pictures melt into each other along the way.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderGradientWipe(const EffectJob& job, int rowBegin, int rowEnd) {
    const float step = 1.0f / static_cast<float>(job.height);
    renderByValue(job, rowBegin, rowEnd, 0.25f, [&](int top, float* v) {
        const float value = static_cast<float>(top) * step;
        for (int x = 0; x < job.width; ++x)
            v[x] = value;
        return true;
    });
}

}  // namespace quillfen::effects
