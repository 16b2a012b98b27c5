// Inset: a rectangle of the second picture grows from the top-left corner.
#include "imaging/effects/effect_mask.h"
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderInset(const EffectJob& job, int rowBegin, int rowEnd) {
    const float stepX = 1.0f / static_cast<float>(job.width);
    const float stepY = 1.0f / static_cast<float>(job.height);
    renderByValue(job, rowBegin, rowEnd, 0.0f, [&](int top, float* v) {
        const float down = (static_cast<float>(top) + 0.5f) * stepY;
        for (int x = 0; x < job.width; ++x) {
            const float across = (static_cast<float>(x) + 0.5f) * stepX;
            v[x] = across > down ? across : down;
        }
        return true;
    });
}

}  // namespace quillfen::effects
