// Fade: a straight cross-dissolve, one weight for the whole frame.
#include "imaging/effects/effect_renders.h"

namespace quillfen::effects {

void renderFade(const EffectJob& job, int rowBegin, int rowEnd) {
    const std::uint32_t weight = weightOf(job.progress);
    for (int y = rowBegin; y < rowEnd; ++y) {
        const std::uint32_t* a = job.fromRow(y);
        const std::uint32_t* b = job.toRow(y);
        std::uint32_t* out = job.outRow(y);
        for (int x = 0; x < job.width; ++x)
            out[x] = blendPixel(a[x], b[x], weight);
    }
}

}  // namespace quillfen::effects
