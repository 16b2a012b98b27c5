// Wipe: the second picture sweeps in from the left behind a soft vertical edge.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderWipe(const EffectJob& job, int rowBegin, int rowEnd) {
    const float step = 1.0f / static_cast<float>(job.width);
    bool filled = false;  // every row is alike
    renderByValue(job, rowBegin, rowEnd, softnessFor(24.0f, job.width), [&](int, float* v) {
        if (filled) return false;
        filled = true;
        for (int x = 0; x < job.width; ++x)
            v[x] = static_cast<float>(x) * step;
        return true;
    });
}

}  // namespace quillfen::effects
