// Barn: two doors open from the centre line outwards, revealing the second picture.
#include <cmath>

#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderBarn(const EffectJob& job, int rowBegin, int rowEnd) {
    const float centre = static_cast<float>(job.width) / 2.0f;
    const float step = 1.0f / centre;
    bool filled = false;  // every row is alike
    renderByValue(job, rowBegin, rowEnd, softnessFor(12.0f, job.width / 2), [&](int, float* v) {
        if (filled) return false;
        filled = true;
        for (int x = 0; x < job.width; ++x)
            v[x] = std::fabs(static_cast<float>(x) + 0.5f - centre) * step;
        return true;
    });
}

}  // namespace quillfen::effects
